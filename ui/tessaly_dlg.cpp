// CTessalyDlg: layout, initialisation and the commands Browse, View, Export, Help, About, close.
#include "ui/tessaly_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QMenuBar>

#include "export/analysis_steps.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "records/ole_files.h"
#include "support/execution_log.h"
#include "ui/about_dlg.h"
#include "ui/art.h"
#include "ui/desktop.h"
#include "ui/dialog_controls.h"
#include "ui/export_option_dlg.h"
#include "ui/export_progress_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/splash_screen.h"

namespace ui {

CTessalyDlg* g_pMainDlg = nullptr;

namespace {
constexpr const char* kCaption = "Korvane Dunmere v3.3";
constexpr const char* kRecoverBusy = "Recover operation is in progress..Pls wait, or cancel that operation";
constexpr const char* kExportBusy = "Export operation is in progress..Pls wait, or cancel that operation";
constexpr const char* kCloseQuestion = " Are you sure you want to close the application? ";
constexpr const char* kHelpPage = "tessaly-help.html";

}  // namespace

CTessalyDlg::CTessalyDlg(QWidget* parent)
    : WhiteDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::WindowMinimizeButtonHint),
      m_hIcon(AppIcon()) {
  setObjectName("102");
  exporter::InstallAnalysisSteps(m_analysis);
  buildMenu();
  buildControls();
  OnInitDialog();
}

CTessalyDlg::~CTessalyDlg() {
  StopPreviousAnalysis();
  JoinRecordLoader();
  m_calls.close();
  if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void CTessalyDlg::buildMenu() {
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName("129");
  QMenu* actions = menuBar->addMenu("&Actions");
  m_actBrowse = actions->addAction("Browse", this, &CTessalyDlg::OnBrowse);
  m_actBrowse->setObjectName("32771");
  actions->addSeparator();
  actions->addAction("Exit", this, &CTessalyDlg::OnClose)->setObjectName("32773");
  QMenu* help = menuBar->addMenu("&Help");
  help->addAction("Help Contents", this, &CTessalyDlg::OnHelpContents)->setObjectName("32774");
  help->addAction("About Us", this, &CTessalyDlg::OnAboutUs)->setObjectName("32775");
  menuBar->adjustSize();
  menuBar->setGeometry(0, 0, units().x(543), menuBar->sizeHint().height());
  setTopOffset(menuBar->sizeHint().height());
}

void CTessalyDlg::buildControls() {
  setDialogSize(543, 348);

  m_banner = makeLabel(this, "1010", "", 1, 0, 555, 56);
  m_banner->setPixmap(ArtPixmap("banner", m_banner->size()));

  makeLabel(this, "1004", "Select MS-Access File :", 15, 64, 98, 11);
  m_edtPath = new QLineEdit(this);
  m_edtPath->setObjectName("1005");
  m_edtPath->setReadOnly(true);
  place(m_edtPath, 119, 64, 270, 12);
  m_btnBrowse = makeButton(this, "1006", "Browse", 400, 61, 63, 17);
  m_btnView = makeButton(this, "1007", "View", 474, 61, 62, 17);
  connect(m_btnBrowse, &QPushButton::clicked, this, &CTessalyDlg::OnBrowse);
  connect(m_btnView, &QPushButton::clicked, this, &CTessalyDlg::OnView);

  m_tree = new QTreeWidget(this);
  m_tree->setObjectName("1001");
  m_tree->setHeaderHidden(true);
  // Long column labels scroll sideways rather than being cut short.
  m_tree->setTextElideMode(Qt::ElideNone);
  m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_tree->header()->setStretchLastSection(false);
  m_tree->setIconSize(QSize(16, 16));
  m_tree->setMouseTracking(true);
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  place(m_tree, 6, 88, 107, 224);
  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTessalyDlg::OnSelChangedTree);

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  place(frame, 118, 85, 418, 20);
  m_btnPrev = makeButton(this, "1070", "< Prev", 119, 89, 38, 15);
  makeLabel(this, "1028", "Table Name :", 162, 92, 45, 10);
  m_lblTableName = makeLabel(this, "1068", "", 210, 92, 109, 10);
  makeLabel(this, nullptr, "Displaying :", 325, 92, 39, 9);
  m_lblRowCount = makeLabel(this, "1064", "0", 366, 92, 17, 10);
  makeLabel(this, nullptr, "records of Page :", 387, 92, 57, 10);
  m_lblPage = makeLabel(this, "1074", "", 449, 92, 39, 10);
  m_btnNext = makeButton(this, "1071", "Next >", 497, 89, 39, 15);
  connect(m_btnPrev, &QPushButton::clicked, this, &CTessalyDlg::OnPrev);
  connect(m_btnNext, &QPushButton::clicked, this, &CTessalyDlg::OnNext);

  // The browser pane lies below the list and the query edit and shows when both are hidden.
  m_browserPane = new QWidget(this);
  m_browserPane->setObjectName("1082");
  m_browserPane->setAutoFillBackground(true);
  place(m_browserPane, 118, 105, 419, 205);

  m_list = new QTableWidget(this);
  m_list->setObjectName("1002");
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->verticalHeader()->hide();
  m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
  m_list->setWordWrap(false);
  place(m_list, 119, 106, 417, 205);

  m_edtQuery = new QPlainTextEdit(this);
  m_edtQuery->setObjectName("1003");
  m_edtQuery->setReadOnly(true);
  place(m_edtQuery, 118, 105, 419, 206);

  m_btnExport = makeButton(this, "1008", "Export", 222, 317, 96, 18);
  connect(m_btnExport, &QPushButton::clicked, this, &CTessalyDlg::OnExport);
  buildDeletedRowsSwitch();
}

void CTessalyDlg::OnInitDialog() {
  setWindowIcon(m_hIcon);
  CSplashScreen::ShowSplashScreen(nullptr);
  ResetTree();
  m_list->setShowGrid(true);
  hideContentPanes();
  m_btnExport->setEnabled(false);
  m_btnView->setEnabled(false);
  m_btnNext->setEnabled(false);
  m_btnPrev->setEnabled(false);
  m_lblPage->clear();
  m_lblRowCount->clear();
  m_lblTableName->clear();
  m_bRecovering = 0;
  m_bExporting = 0;
  g_pMainDlg = this;
  m_pChannel = &m_analysis.Channel();
  showBlankPane();
  setWindowTitle(kCaption);
  support::SetLogFolder(platform::ProgramFolder());
  support::ExecutionLog startHeaders;
  m_btnBrowse->setFocus();
}

void CTessalyDlg::hideContentPanes() {
  m_edtQuery->hide();
  m_list->hide();
}

void CTessalyDlg::showBlankPane() {
  m_browserPane->show();
}

bool CTessalyDlg::refuseWhileBusy() {
  if (m_bRecovering) {
    ShowMessage(this, kRecoverBusy);
    return true;
  }
  if (m_bExporting) {
    ShowMessage(this, kExportBusy);
    return true;
  }
  return false;
}

void CTessalyDlg::OnBrowse() {
  if (refuseWhileBusy()) return;
  const QString chosen = ChooseDatabaseFile(this);
  if (chosen.isEmpty()) return;
  JoinRecordLoader();
  m_btnExport->setEnabled(false);
  m_btnNext->setEnabled(false);
  m_btnPrev->setEnabled(false);
  m_lblRowCount->clear();
  m_lblPage->clear();
  m_lblTableName->clear();
  ResetTree();
  m_list->setShowGrid(true);
  showBlankPane();
  setWindowTitle(kCaption);
  hideContentPanes();
  m_list->clear();
  m_list->setRowCount(0);
  m_list->setColumnCount(0);
  m_edtQuery->clear();
  m_strFilePath = FromQt(chosen);
  m_edtPath->setText(chosen);
  m_strFileTitle = platform::FileTitle(m_strFilePath);
  m_pChannel->setDatabaseName(m_strFileTitle);
  m_btnBrowse->setEnabled(true);
  m_btnView->setEnabled(true);
}

void CTessalyDlg::OnView() {
  if (refuseWhileBusy()) return;
  if (m_strFilePath.empty()) return;
  m_bRecovering = 1;
  JoinRecordLoader();
  // The previous run's worker and progress threads end before the tree and the channel are reset.
  StopPreviousAnalysis();
  ResetTree();
  m_hRootItem->setText(0, ToQt(m_strFileTitle));
  m_btnExport->setEnabled(false);
  m_btnNext->setEnabled(false);
  m_btnPrev->setEnabled(false);
  m_btnBrowse->setEnabled(false);
  m_btnView->setEnabled(false);
  m_actBrowse->setEnabled(false);
  showBlankPane();
  setWindowTitle(kCaption);
  hideContentPanes();
  m_exportTables.clear();
  m_exportQueries.clear();

  analysis::ProgressChannel& channel = *m_pChannel;
  const std::string databaseName = channel.databaseName();
  channel.reset();
  channel.setDatabaseName(databaseName);

  m_pProgressDlg = std::make_unique<CProgressDlg>(this, channel);
  m_hAnalysisThread = std::thread(&CTessalyDlg::AnalysisThreadProc, this, m_strFilePath, ++m_nRun);
  m_pProgressDlg->exec();
}

void CTessalyDlg::OnExport() {
  if (refuseWhileBusy()) return;
  m_exportTables.clear();
  m_exportQueries.clear();
  m_btnExport->setEnabled(false);
  if (!ShowExportOptions() || m_strExportFolder.empty()) {
    m_btnExport->setEnabled(true);
    return;
  }
  m_bExporting = 1;
  m_pChannel->abort = 0;
  m_pChannel->done = 0;
  RunExportProgress();
  m_bExporting = 0;
  m_btnExport->setEnabled(true);
  m_pChannel->abort = 0;
  m_pChannel->done = 0;
}

// Every export starts from the options dialog's defaults: a new dialog each time.
bool CTessalyDlg::ShowExportOptions() {
  CExportOptionDlg options(this);
  return options.exec() == QDialog::Accepted;
}

void CTessalyDlg::RunExportProgress() {
  // A table's paging state is shared by the grid and the export: the page in hand loads first.
  JoinRecordLoader();
  exporter::ExportSettings settings;
  settings.m_strExportFolder = m_strExportFolder;
  settings.m_nExportFormat = m_nExportFormat;
  settings.m_nExportMode = m_nExportMode;
  settings.m_bExportDeleted = m_bExportDeleted;
  settings.m_strFileTitle = m_strFileTitle;
  settings.m_exportTables = m_exportTables;
  settings.m_exportQueries = m_exportQueries;
  ExportProgressDlg progress(this, m_analysis, std::move(settings));
  progress.exec();
}

void CTessalyDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  OnClose();
}

void CTessalyDlg::OnClose() {
  if (refuseWhileBusy()) return;
  if (!AskYesNo(this, kCloseQuestion)) return;
  DeleteTempOleFiles();
  done(QDialog::Rejected);
}

void CTessalyDlg::DeleteTempOleFiles() {
  // Every object file the grid wrote ("Ole<n>.<extension>"), whatever its extension.
  const std::string folder = records::OleFilesFolder();
  if (!platform::FolderExists(folder)) return;
  for (const std::string& name : platform::ListFolder(folder))
    if (name.rfind("Ole", 0) == 0) platform::DeleteFile(platform::JoinPath(folder, name));
}

void CTessalyDlg::OnHelpContents() {
  OpenUrl(QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/" + kHelpPage));
}

void CTessalyDlg::OnAboutUs() {
  CAboutDlg about(this);
  about.exec();
}

}  // namespace ui
