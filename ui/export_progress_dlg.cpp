// ExportProgressDlg: layout, the export thread, Stop, the statistics, OK and the close box.
#include "ui/export_progress_dlg.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QTimer>

#include "export/export_runner.h"
#include "ui/desktop.h"
#include "ui/dialog_controls.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
constexpr const char* kCaption = "Korvane Selbrin";
constexpr const char* kStopQuestion = "Are you sure you want stop the export process ?";
// The final line stays this long before the statistics replace the status list.
constexpr int kSummaryDelayMs = 2000;
}  // namespace

ExportProgressDlg::ExportProgressDlg(CTessalyDlg* mainDlg, analysis::MdbRecovery& recovery,
                                     exporter::ExportSettings settings)
    : WhiteDialog(mainDlg, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_pMainDlg(mainDlg),
      m_recovery(recovery),
      m_settings(std::move(settings)) {
  setObjectName("1097");
  setWindowTitle("Korvane Selbrin Export");
  setDialogSize(310, 200);

  m_lstStatus = new QListWidget(this);
  m_lstStatus->setObjectName("1095");
  // Lines to read, not to pick.
  m_lstStatus->setSelectionMode(QAbstractItemView::NoSelection);
  m_lstStatus->setFocusPolicy(Qt::NoFocus);
  place(m_lstStatus, 7, 7, 296, 148);

  m_progress = makePercentBar(this, "1056", 7, 162, 258, 11);
  m_lblPercent = makeLabel(this, "1053", "0 %", 271, 163, 32, 10);

  m_btnStop = makeButton(this, "1093", "Stop", 130, 180, 50, 14);

  // A list view in report form: grid lines and whole rows selected.
  m_lstStatistics = new QTableWidget(this);
  m_lstStatistics->setObjectName("1097");
  m_lstStatistics->verticalHeader()->hide();
  m_lstStatistics->verticalHeader()->setDefaultSectionSize(m_lstStatistics->fontMetrics().height() + 6);
  m_lstStatistics->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_lstStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_lstStatistics->setShowGrid(true);
  place(m_lstStatistics, 7, 7, 296, 166);

  m_btnOK = makeButton(this, "1098", "OK", 130, 180, 50, 14);
  m_btnOpenFolder = makeButton(this, "openFolder", "Open folder", 0, 0, 60, 14);
  m_btnOpenFolder->hide();
  connect(m_btnOpenFolder, &QPushButton::clicked, this, &ExportProgressDlg::OnOpenFolder);

  connect(m_btnStop, &QPushButton::clicked, this, &ExportProgressDlg::OnStop);
  connect(m_btnOK, &QPushButton::clicked, this, &ExportProgressDlg::OnOK);
}

ExportProgressDlg::~ExportProgressDlg() {
  m_calls.close();
  if (m_hExportThread.joinable()) m_hExportThread.join();
}

void ExportProgressDlg::showEvent(QShowEvent* event) {
  WhiteDialog::showEvent(event);
  if (!m_hExportThread.joinable()) OnInitDialog();
}

void ExportProgressDlg::OnInitDialog() {
  m_btnOK->hide();
  m_lstStatistics->hide();
  m_btnStop->setEnabled(true);
  m_lstStatus->show();
  m_progress->show();
  m_btnStop->show();
  m_lblPercent->show();
  m_hExportThread = std::thread(&ExportProgressDlg::ExportThreadProc, this);
}

void ExportProgressDlg::ExportThreadProc() {
  const exporter::ExportOutcome outcome = exporter::RunExport(m_recovery, m_settings, *this);
  if (outcome.target.empty()) return;
  // The last line says where the export went.
  const bool folder = m_settings.m_nExportFormat == exporter::kFormatCsv;
  const QString target = ToQt(outcome.target);
  const QString line = (folder ? "Files written to folder: " : "Database written: ") + target;
  m_calls.call([this, line, target, folder] {
    // A window closed by its close box at the end has nobody left to tell.
    if (!isVisible()) return;
    m_target = target;
    m_targetFolder = folder ? target : QFileInfo(target).absolutePath();
    m_lstStatus->insertItem(0, line);
    m_lstStatus->item(0)->setToolTip(target);
    emit statusShown(line);
  });
}

void ExportProgressDlg::OnOpenFolder() {
  if (!m_targetFolder.isEmpty()) OpenUrl(QUrl::fromLocalFile(m_targetFolder));
}

void ExportProgressDlg::statusInserted(const std::string& line) {
  const QString text = ToQt(line);
  m_calls.call([this, text] {
    m_lstStatus->insertItem(0, text);
    emit statusShown(text);
  });
}

void ExportProgressDlg::percentChanged(int percent) {
  m_calls.call([this, percent] {
    m_progress->setValue(percent);
    m_lblPercent->setText(QString("%1%").arg(percent));
    emit percentShown(percent);
  });
}

void ExportProgressDlg::finished(const std::string&, const std::vector<exporter::ExportStatistic>& statistics) {
  m_calls.call([this, statistics] {
    m_statistics = statistics;
    m_btnStop->setEnabled(false);
    m_pMainDlg->m_bExporting = 0;
    if (m_bCloseWhenDone) {
      done(QDialog::Rejected);
      return;
    }
    QTimer::singleShot(kSummaryDelayMs, this, &ExportProgressDlg::showSummary);
  });
}

// The statistics take the right half of a wider window; the status log stays on the left, its
// last line naming where the export went.
void ExportProgressDlg::showSummary() {
  setDialogSize(606, 200);
  place(m_lstStatus, 7, 7, 296, 166);
  place(m_lstStatistics, 310, 7, 289, 166);
  place(m_btnOK, 238, 180, 60, 14);
  place(m_btnOpenFolder, 308, 180, 60, 14);
  m_btnOK->show();
  m_lstStatistics->show();
  m_lstStatus->show();
  m_btnOpenFolder->show();
  m_btnOpenFolder->setEnabled(!m_targetFolder.isEmpty());
  m_progress->hide();
  m_btnStop->hide();
  m_lblPercent->hide();

  m_lstStatistics->clear();
  m_lstStatistics->setColumnCount(2);
  m_lstStatistics->setHorizontalHeaderLabels({"Table Names", "No. Of Records"});
  m_lstStatistics->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_lstStatistics->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_lstStatistics->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_lstStatistics->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  m_lstStatistics->setRowCount(static_cast<int>(m_statistics.size()));
  for (int row = 0; row < static_cast<int>(m_statistics.size()); ++row) {
    const exporter::ExportStatistic& statistic = m_statistics[row];
    m_lstStatistics->setItem(row, 0, new QTableWidgetItem(ToQt(statistic.tableName)));
    auto* count = new QTableWidgetItem(ToQt(exporter::StatisticCountText(statistic)));
    count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lstStatistics->setItem(row, 1, count);
  }
  emit summaryShown();
}

void ExportProgressDlg::OnStop() {
  if (AskYesNo(this, kStopQuestion, kCaption)) m_recovery.Channel().abort = 1;
}

void ExportProgressDlg::OnOK() {
  analysis::ProgressChannel& channel = m_recovery.Channel();
  channel.abort = 0;
  channel.done = 0;
  done(QDialog::Accepted);
}

// A running export is stopped, never cut off: the window closes once the export thread has
// finished the table in hand, so the target is closed and no file is left half open.
void ExportProgressDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!m_pMainDlg->m_bExporting) {
    done(QDialog::Rejected);
    return;
  }
  if (m_bCloseWhenDone || !AskYesNo(this, kStopQuestion, kCaption)) return;
  m_bCloseWhenDone = true;
  m_btnStop->setEnabled(false);
  m_recovery.Channel().abort = 1;
}

}  // namespace ui
