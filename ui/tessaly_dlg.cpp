// CTessalyDlg: layout, initialisation and the commands Browse, View, Export, Help, About, close.
#include "ui/tessaly_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "export/analysis_steps.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "records/ole_files.h"
#include "records/record_index.h"
#include "support/execution_log.h"
#include "ui/about_dlg.h"
#include "ui/art.h"
#include "ui/banner_label.h"
#include "ui/desktop.h"
#include "ui/dialog_controls.h"
#include "ui/export_option_dlg.h"
#include "ui/export_progress_dlg.h"
#include "ui/password_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/record_detail_dlg.h"
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
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setAcceptDrops(true);
  exporter::InstallAnalysisSteps(m_analysis);
  // Asked on the analysis thread; the dialog runs on this one, above the progress window.
  m_analysis.passwordSource = [this](bool afterWrongPassword) {
    std::optional<std::string> password;
    m_calls.call([this, afterWrongPassword, &password] {
      QWidget* parent = m_pProgressDlg ? static_cast<QWidget*>(m_pProgressDlg.get()) : this;
      password = CPasswordDlg::Ask(parent, afterWrongPassword);
    });
    return password;
  };
  buildMenu();
  buildControls();
  OnInitDialog();
  RestoreWindowState();
}

CTessalyDlg::~CTessalyDlg() {
  SaveWindowState();
  StopPreviousAnalysis();
  JoinRecordLoader();
  m_calls.close();
  if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void CTessalyDlg::buildMenu() {
  m_menuBar = new QMenuBar(this);
  m_menuBar->setObjectName("129");
  QMenu* actions = m_menuBar->addMenu("&Actions");
  m_actBrowse = actions->addAction("Browse", this, &CTessalyDlg::OnBrowse);
  m_actBrowse->setObjectName("32771");
  m_recentMenu = actions->addMenu("Recent Files");
  m_recentMenu->setObjectName("recentFiles");
  actions->addSeparator();
  actions->addAction("Exit", this, &CTessalyDlg::OnClose)->setObjectName("32773");
  QMenu* help = m_menuBar->addMenu("&Help");
  help->addAction("Help Contents", this, &CTessalyDlg::OnHelpContents)->setObjectName("32774");
  help->addAction("About Us", this, &CTessalyDlg::OnAboutUs)->setObjectName("32775");
}

namespace {
QPushButton* layoutButton(QWidget* parent, const char* id, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(id);
  button->setAutoDefault(false);
  return button;
}

QLabel* layoutLabel(QWidget* parent, const char* id, const QString& text) {
  auto* label = new QLabel(text, parent);
  if (id) label->setObjectName(id);
  return label;
}
}  // namespace

// The window grows with the screen: the banner and the file row on top, the tree and the
// record list side by side in a splitter, the paging row above the list, Export below.
void CTessalyDlg::buildControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setMenuBar(m_menuBar);
  outer->setContentsMargins(units().x(6), units().y(2), units().x(6), units().y(4));

  m_banner = new CBannerLabel("banner", units().size(555, 56), this);
  m_banner->setObjectName("1010");
  outer->addWidget(m_banner);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(layoutLabel(this, "1004", "Select MS-Access File :"));
  m_edtPath = new QLineEdit(this);
  m_edtPath->setObjectName("1005");
  m_edtPath->setReadOnly(true);
  fileRow->addWidget(m_edtPath, 1);
  m_btnBrowse = layoutButton(this, "1006", "Browse");
  m_btnView = layoutButton(this, "1007", "View");
  for (QPushButton* button : {m_btnBrowse, m_btnView}) {
    button->setMinimumSize(units().size(62, 15));
    fileRow->addWidget(button);
  }
  connect(m_btnBrowse, &QPushButton::clicked, this, &CTessalyDlg::OnBrowse);
  connect(m_btnView, &QPushButton::clicked, this, &CTessalyDlg::OnView);
  outer->addLayout(fileRow);

  m_lblNotice = layoutLabel(this, "notice", "");
  m_lblNotice->setWordWrap(true);
  m_lblNotice->setStyleSheet("QLabel { background: #fff4ce; border: 1px solid #d8b94c; padding: 4px; }");
  m_lblNotice->hide();
  outer->addWidget(m_lblNotice);

  m_splitter = new QSplitter(Qt::Horizontal, this);
  m_splitter->setObjectName("splitter");
  m_splitter->setChildrenCollapsible(false);
  outer->addWidget(m_splitter, 1);

  m_tree = new QTreeWidget(m_splitter);
  m_tree->setObjectName("1001");
  m_tree->setHeaderHidden(true);
  // Long column labels scroll sideways rather than being cut short.
  m_tree->setTextElideMode(Qt::ElideNone);
  m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_tree->header()->setStretchLastSection(false);
  m_tree->setIconSize(QSize(16, 16));
  m_tree->setMouseTracking(true);
  m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
  m_tree->setMinimumWidth(units().x(60));
  connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTessalyDlg::OnSelChangedTree);

  auto* right = new QWidget(m_splitter);
  auto* rightColumn = new QVBoxLayout(right);
  rightColumn->setContentsMargins(0, 0, 0, 0);
  rightColumn->addWidget(buildPagingRow(right));

  // The list and the query edit lie above the blank pane, which shows while both are hidden.
  auto* stack = new QGridLayout;
  m_browserPane = new QWidget(right);
  m_browserPane->setObjectName("1082");
  m_browserPane->setAutoFillBackground(true);
  stack->addWidget(m_browserPane, 0, 0);

  m_list = new QTableWidget(right);
  m_list->setObjectName("1002");
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->verticalHeader()->hide();
  m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
  m_list->setWordWrap(false);
  connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row) { ShowRecordDetail(row); });
  stack->addWidget(m_list, 0, 0);

  m_edtQuery = new QPlainTextEdit(right);
  m_edtQuery->setObjectName("1003");
  m_edtQuery->setReadOnly(true);
  m_edtQuery->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_edtQuery->setLineWrapMode(QPlainTextEdit::NoWrap);
  stack->addWidget(m_edtQuery, 0, 0);
  rightColumn->addLayout(stack, 1);

  m_splitter->addWidget(m_tree);
  m_splitter->addWidget(right);
  m_splitter->setStretchFactor(0, 0);
  m_splitter->setStretchFactor(1, 1);
  m_splitter->setSizes({units().x(140), units().x(385)});

  auto* bottom = new QHBoxLayout;
  buildDeletedRowsSwitch(bottom);
  bottom->addStretch(1);
  m_btnExport = layoutButton(this, "1008", "Export");
  m_btnExport->setMinimumSize(units().size(96, 16));
  connect(m_btnExport, &QPushButton::clicked, this, &CTessalyDlg::OnExport);
  bottom->addWidget(m_btnExport);
  bottom->addStretch(1);
  outer->addLayout(bottom);

  setSizeGripEnabled(true);
  setMinimumSize(units().size(360, 240));
  resize(units().size(543, 348) + QSize(0, m_menuBar->sizeHint().height()));
}

// The paging rows: first and previous page, the name of what is shown, next and last page; below
// them the figures of the shown page (what it holds, which records of how many) and a page
// number to go to.
QWidget* CTessalyDlg::buildPagingRow(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setObjectName("pagingRow");
  frame->setFrameShape(QFrame::Box);
  auto* rows = new QVBoxLayout(frame);
  rows->setContentsMargins(units().x(1), units().y(1), units().x(1), units().y(1));
  rows->setSpacing(units().y(1));
  auto* row = new QHBoxLayout;
  m_btnFirst = layoutButton(frame, "first", "|<");
  m_btnPrev = layoutButton(frame, "1070", "< Prev");
  m_btnNext = layoutButton(frame, "1071", "Next >");
  m_btnLast = layoutButton(frame, "last", ">|");
  m_btnFirst->setToolTip("First page");
  m_btnLast->setToolTip("Last page");
  m_lblNameCaption = layoutLabel(frame, "1028", "Table Name :");
  m_lblTableName = layoutLabel(frame, "1068", "");
  m_lblTableName->setMinimumWidth(units().x(40));
  m_lblTableName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_lblSql = layoutLabel(frame, "sqlCaption", "SQL");
  m_lblSql->hide();
  row->addWidget(m_btnFirst);
  row->addWidget(m_btnPrev);
  row->addWidget(m_lblNameCaption);
  row->addWidget(m_lblTableName, 1);
  row->addWidget(m_lblSql);
  row->addWidget(m_btnNext);
  row->addWidget(m_btnLast);
  rows->addLayout(row);

  // The figures of a table's page; hidden while a query is shown.
  m_pagingFigures = new QWidget(frame);
  auto* figures = new QHBoxLayout(m_pagingFigures);
  figures->setContentsMargins(0, 0, 0, 0);
  figures->addWidget(layoutLabel(m_pagingFigures, nullptr, "Displaying :"));
  m_lblRowCount = layoutLabel(m_pagingFigures, "1064", "0");
  figures->addWidget(m_lblRowCount);
  figures->addWidget(layoutLabel(m_pagingFigures, nullptr, "records of Page :"));
  m_lblPage = layoutLabel(m_pagingFigures, "1074", "");
  figures->addWidget(m_lblPage);
  figures->addSpacing(units().x(8));
  m_lblRange = layoutLabel(m_pagingFigures, "recordRange", "");
  figures->addWidget(m_lblRange);
  figures->addStretch(1);
  figures->addWidget(layoutLabel(m_pagingFigures, nullptr, "Go to page :"));
  m_spnPage = new QSpinBox(m_pagingFigures);
  m_spnPage->setObjectName("goToPage");
  m_spnPage->setRange(1, 1);
  m_spnPage->setKeyboardTracking(false);
  m_spnPage->setMinimumWidth(units().x(50));
  figures->addWidget(m_spnPage);
  m_btnGo = layoutButton(m_pagingFigures, "go", "Go");
  figures->addWidget(m_btnGo);
  rows->addWidget(m_pagingFigures);

  for (QPushButton* button : {m_btnFirst, m_btnPrev, m_btnNext, m_btnLast, m_btnGo})
    button->setMinimumHeight(units().y(14));
  connect(m_btnPrev, &QPushButton::clicked, this, &CTessalyDlg::OnPrev);
  connect(m_btnNext, &QPushButton::clicked, this, &CTessalyDlg::OnNext);
  connect(m_btnFirst, &QPushButton::clicked, this, [this] { GoToPage(1); });
  connect(m_btnLast, &QPushButton::clicked, this, [this] { GoToPage(PageCount()); });
  connect(m_btnGo, &QPushButton::clicked, this, [this] { GoToPage(m_spnPage->value()); });
  connect(m_spnPage, &QSpinBox::editingFinished, this, [this] {
    if (m_spnPage->hasFocus() && m_spnPage->value() != m_nPage) GoToPage(m_spnPage->value());
  });
  return frame;
}

void CTessalyDlg::OnInitDialog() {
  setWindowIcon(m_hIcon);
  CSplashScreen::ShowSplashScreen(nullptr);
  ResetTree();
  m_list->setShowGrid(true);
  hideContentPanes();
  m_btnExport->setEnabled(false);
  m_btnView->setEnabled(false);
  EnablePaging(false);
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
  ChooseFile(chosen);
}

// The file is chosen as by Browse: the view is cleared and View waits for it.
void CTessalyDlg::ChooseFile(const QString& chosen) {
  JoinRecordLoader();
  m_btnExport->setEnabled(false);
  EnablePaging(false);
  m_lblRowCount->clear();
  m_lblPage->clear();
  m_lblTableName->clear();
  ResetTree();
  ShowDamageNotice({});
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
  RememberRecentFile(chosen);
}

void CTessalyDlg::OnView() {
  if (refuseWhileBusy()) return;
  if (m_strFilePath.empty()) return;
  m_bRecovering = 1;
  JoinRecordLoader();
  // The previous run's worker and progress threads end before the tree and the channel are reset.
  StopPreviousAnalysis();
  ResetTree();
  ShowDamageNotice({});
  m_hRootItem->setText(0, ToQt(m_strFileTitle));
  m_btnExport->setEnabled(false);
  EnablePaging(false);
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
  SaveWindowState();
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
  // Beside the program in a build folder; under share/doc/tessaly once installed.
  const QString beside = QCoreApplication::applicationDirPath() + "/" + kHelpPage;
  const QString installed = QCoreApplication::applicationDirPath() + "/../share/doc/tessaly/" + kHelpPage;
  const QString page =
      QFile::exists(beside) || !QFile::exists(installed) ? beside : QFileInfo(installed).canonicalFilePath();
  OpenUrl(QUrl::fromLocalFile(page));
}

void CTessalyDlg::OnAboutUs() {
  CAboutDlg about(this);
  about.exec();
}

}  // namespace ui
