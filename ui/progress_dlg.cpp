// CProgressDlg: layout, the Stop/Close button and what the loop threads show.
#include "ui/progress_dlg.h"

#include <QCloseEvent>
#include <QGroupBox>

#include "ui/desktop.h"
#include "ui/dialog_controls.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
constexpr const char* kCompleted = "Recovery Completed";
constexpr const char* kFailed = "Analysis failed";
}  // namespace

CProgressDlg::CProgressDlg(CTessalyDlg* mainDlg, analysis::ProgressChannel& channel)
    : WhiteDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_pMainDlg(mainDlg),
      m_pChannel(&channel),
      m_loops(channel, *this) {
  setObjectName("146");
  setWindowTitle("Korvane Dunmere - Progress");
  setDialogSize(243, 211);

  auto* group = new QGroupBox("Progress details", this);
  group->setObjectName("1055");
  place(group, 7, 5, 229, 80);
  makeLabel(this, "1090", "Database Name : ", 16, 20, 72, 10);
  m_lblDatabaseName = makeLabel(this, "1093", "", 90, 20, 140, 10);
  makeLabel(this, "1091", "Storage Format : ", 16, 35, 72, 10);
  m_lblStorageFormat = makeLabel(this, "1094", "", 90, 35, 140, 10);
  makeLabel(this, "1028", "Tables Found : ", 16, 50, 72, 10);
  m_lblTablesFound = makeLabel(this, "1061", "0 (0)", 90, 50, 140, 10);
  makeLabel(this, "1029", "Unnamed Table :", 16, 65, 72, 10);
  m_lblUnnamedTables = makeLabel(this, "1062", "0", 90, 65, 140, 10);

  m_lstStatus = new QListWidget(this);
  m_lstStatus->setObjectName("1095");
  place(m_lstStatus, 7, 91, 229, 78);

  m_progress = makePercentBar(this, "1036", 7, 175, 194, 11);
  m_lblPercent = makeLabel(this, "1053", "0%", 205, 176, 31, 10);

  m_btnStop = new QPushButton("Stop", this);
  m_btnStop->setObjectName("1063");
  m_btnStop->setAutoDefault(false);
  place(m_btnStop, 96, 192, 50, 14);
  connect(m_btnStop, &QPushButton::clicked, this, &CProgressDlg::OnStopOrClose);
}

CProgressDlg::~CProgressDlg() {
  StopThreads();
}

void CProgressDlg::showEvent(QShowEvent* event) {
  WhiteDialog::showEvent(event);
  if (!m_bStarted) OnInitDialog();
}

void CProgressDlg::OnInitDialog() {
  m_bStarted = true;
  m_lblPercent->setText("0 %");
  m_btnStop->setText("Stop");
  m_loops.start();
}

void CProgressDlg::ReleaseCalls() {
  m_calls.close();
}

void CProgressDlg::StopThreads() {
  m_calls.close();
  m_loops.stop();
}

void CProgressDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  OnStopOrClose();
}

void CProgressDlg::OnStopOrClose() {
  if (m_btnStop->text() == "Stop") {
    m_pChannel->abort = 1;
    return;
  }
  analysis::ProgressChannel& channel = *m_pChannel;
  channel.abort = 0;
  channel.done = 0;
  channel.unnamedTables = 0;
  channel.tablesTotal = 0;
  channel.tablesRead = 0;
  channel.pagesTotal = 0;
  channel.pagesRead = 0;
  channel.setStatusText("");
  channel.setStorageFormat("");
  channel.tableToAdd = nullptr;
  channel.details.clear();
  channel.resetEvents();
  done(QDialog::Rejected);
}

void CProgressDlg::ShowCompleted(const QStringList& damage) {
  showClose();
  if (damage.isEmpty()) return;
  // Below "Recovery Completed", whether the status thread has put it up already or does later.
  int row = m_lstStatus->count() > 0 && m_lstStatus->item(0)->text() == kCompleted ? 1 : 0;
  m_lstStatus->insertItem(row++, "Damage found in this file:");
  for (const QString& line : damage) m_lstStatus->insertItem(row++, "    " + line);
}

void CProgressDlg::showPercent(int percent) {
  m_progress->setValue(percent);
  const QString text = QString("%1%").arg(percent);
  if (m_lblPercent->text() != text) m_lblPercent->setText(text);
  emit percentShown(percent);
}

void CProgressDlg::showClose() {
  if (m_bFailed) {
    m_lblPercent->setText("Failed");
  } else {
    showPercent(100);
  }
  m_btnStop->setText("Close");
}

void CProgressDlg::statusChanged(const std::string& text) {
  const QString line = m_bFailed && text == kCompleted ? QString(kFailed) : ToQt(text);
  m_calls.call([this, line] { m_lstStatus->insertItem(0, line); });
}

void CProgressDlg::databaseNameChanged(const std::string& name) {
  const QString text = ToQt(name);
  m_calls.call([this, text] { m_lblDatabaseName->setText(text); });
}

void CProgressDlg::storageFormatChanged(const std::string& format) {
  const QString text = ToQt(format);
  m_calls.call([this, text] { m_lblStorageFormat->setText(text); });
}

void CProgressDlg::percentChanged(int percent) {
  m_calls.call([this, percent] { showPercent(percent); });
}

void CProgressDlg::countsChanged(int tablesRead, int tablesTotal, int unnamedTables) {
  m_calls.call([this, tablesRead, tablesTotal, unnamedTables] {
    m_lblTablesFound->setText(QString("%1 (%2)").arg(tablesRead).arg(tablesTotal));
    m_lblUnnamedTables->setText(QString::number(unnamedTables));
  });
}

void CProgressDlg::tableAdded(analysis::Table* table) {
  m_calls.call([this, table] { m_pMainDlg->AddTableToTree(table); });
}

void CProgressDlg::queryAdded(analysis::Queries* query) {
  m_calls.call([this, query] { m_pMainDlg->AddQueryToTree(query); });
}

void CProgressDlg::statusLoopEnded() {
  m_calls.call([this] { showClose(); });
}

void CProgressDlg::tableLoopEnded() {
  m_calls.call([this] { showClose(); });
}

}  // namespace ui
