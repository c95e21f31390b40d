// CExportOptionDlg: layout, defaults, the check tree and its propagation, Browse and Export/Save.
#include "ui/export_option_dlg.h"

#include <QDir>

#include "export/export_folder.h"
#include "export/export_settings.h"
#include "ui/art.h"
#include "ui/desktop.h"
#include "ui/dialog_controls.h"
#include "ui/folder_picker.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
constexpr const char* kQueriesWarning =
    "Queries are not supported in this mode of export. Please use save as CSV file option. ";
constexpr const char* kEncryptedNote = "This file is encrypted: its exports are written unencrypted.";
constexpr const char* kPickerTitle = " Please select the Destination folder ";
constexpr const char* kNoFileSystemPath =
    "You cannot select \"My computer\" or \"My Network\" as destination. \r\n\r\n"
    "                          Please select proper drive path.";

// A label of several lines wraps inside its rectangle, from the top.
QLabel* makeWrappedLabel(WhiteDialog* dialog, const QString& text, int x, int y, int w, int h) {
  QLabel* label = makeLabel(dialog, nullptr, text, x, y, w, h);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QRadioButton* makeRadio(WhiteDialog* dialog, QButtonGroup* group, const char* id, const QString& text, int x, int y,
                        int w, int h) {
  auto* radio = new QRadioButton(text, dialog);
  radio->setObjectName(id);
  group->addButton(radio);
  dialog->place(radio, x, y, w, h);
  return radio;
}

QGroupBox* makeFrame(WhiteDialog* dialog, const char* id, const QString& text, int x, int y, int w, int h) {
  auto* frame = new QGroupBox(text, dialog);
  if (id) frame->setObjectName(id);
  dialog->place(frame, x, y, w, h);
  return frame;
}

QTreeWidgetItem* checkedNode(QTreeWidgetItem* parent, const QString& label, const QVariant& record) {
  auto* node = new QTreeWidgetItem(parent, QStringList(label));
  node->setData(0, Qt::UserRole, record);
  node->setCheckState(0, Qt::Checked);
  return node;
}

template <typename Record>
Record* attached(const QTreeWidgetItem* item) {
  return reinterpret_cast<Record*>(item->data(0, Qt::UserRole).value<quintptr>());
}
}  // namespace

CExportOptionDlg::CExportOptionDlg(CTessalyDlg* mainDlg)
    : WhiteDialog(mainDlg, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_pMainDlg(mainDlg) {
  setObjectName("130");
  setWindowTitle("Korvane Selbrin Export Option");
  setDialogSize(311, 296);
  buildControls();
  OnInitDialog();
}

void CExportOptionDlg::buildControls() {
  QLabel* banner = makeLabel(this, nullptr, "", 0, 0, 313, 52);
  // Drawn by the height: the mark keeps its shape, the sky fills the width.
  banner->setPixmap(ArtBand("banner", banner->size(), banner->devicePixelRatioF()));

  m_formatGroup = new QButtonGroup(this);
  m_modeGroup = new QButtonGroup(this);

  makeFrame(this, nullptr, "Save As", 3, 55, 303, 47);
  m_rdoAccess = makeRadio(this, m_formatGroup, "1041", "MS Access Database", 11, 68, 79, 11);
  m_rdoCsv = makeRadio(this, m_formatGroup, "1042", "CSV file", 163, 69, 51, 11);
  m_rdoSqlite = makeRadio(this, m_formatGroup, "1043", "SQLite database", 222, 69, 80, 11);
  m_lblQueriesWarning = makeLabel(this, "1099", kQueriesWarning, 11, 88, 291, 8);

  m_grpDestination = makeFrame(this, "1027", "", 2, 104, 305, 45);
  m_lblDestination = makeLabel(this, "1088", "Destination Path:", 11, 124, 56, 8);
  m_edtDestination = new QLineEdit(this);
  m_edtDestination->setObjectName("1086");
  m_edtDestination->setReadOnly(true);
  place(m_edtDestination, 69, 122, 165, 12);
  m_btnBrowse = makeButton(this, "1006", "Browse", 240, 120, 58, 14);

  m_tree = new QTreeWidget(this);
  m_tree->setObjectName("1079");
  m_tree->setHeaderHidden(true);
  m_tree->setRootIsDecorated(true);
  place(m_tree, 3, 154, 163, 134);

  makeFrame(this, "1029", "Export Options", 175, 152, 132, 109);
  m_rdoSchema = makeRadio(this, m_modeGroup, "1076", "Only Schema", 178, 167, 59, 10);
  makeWrappedLabel(this, "(This option will only create the necessary schema for the selected tables)", 189, 181, 116,
                   29);
  m_rdoSchemaData = makeRadio(this, m_modeGroup, "1077", "Schema && Data", 179, 217, 67, 10);
  makeWrappedLabel(this, "(This option will export schema  as well data for the table)", 190, 231, 111, 20);
  m_chkDeletedRows = new QCheckBox("With deleted rows", this);
  m_chkDeletedRows->setObjectName("exportDeletedRows");
  place(m_chkDeletedRows, 190, 249, 110, 10);

  m_btnExportSave = makeButton(this, "1021", "Export/Save", 175, 273, 58, 14);
  m_btnCancel = makeButton(this, "1025", "Cancel", 248, 273, 58, 14);
  // The pages were decrypted on reading; nothing the export writes is encrypted again.
  if (m_pMainDlg->Analysis().IsEncrypted()) {
    setDialogSize(311, 308);
    makeLabel(this, "encryptedNote", kEncryptedNote, 3, 294, 303, 9);
  }

  connect(m_rdoAccess, &QRadioButton::clicked, this, &CExportOptionDlg::OnFormatAccess);
  connect(m_rdoCsv, &QRadioButton::clicked, this, &CExportOptionDlg::OnFormatCsv);
  connect(m_rdoSqlite, &QRadioButton::clicked, this, &CExportOptionDlg::OnFormatSqlite);
  connect(m_rdoSchema, &QRadioButton::clicked, this, &CExportOptionDlg::OnModeSchema);
  connect(m_rdoSchemaData, &QRadioButton::clicked, this, &CExportOptionDlg::OnModeSchemaData);
  connect(m_btnBrowse, &QPushButton::clicked, this, &CExportOptionDlg::OnBrowseDestination);
  connect(m_btnExportSave, &QPushButton::clicked, this, &CExportOptionDlg::OnExportSave);
  connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 0 && !m_bPropagating) OnToggleCheck(item);
  });
}

void CExportOptionDlg::OnInitDialog() {
  OnFormatAccess();
  OnModeSchemaData();
  m_grpDestination->setEnabled(false);
  BuildTree();
  m_tree->setEnabled(false);
  m_btnExportSave->setEnabled(false);
}

void CExportOptionDlg::BuildTree() {
  m_bPropagating = true;
  m_tree->clear();
  QTreeWidgetItem* mainTables = m_pMainDlg->TablesItem();
  QTreeWidgetItem* mainQueries = m_pMainDlg->QueriesItem();
  QTreeWidgetItem* mainRoot = mainTables ? mainTables->parent() : nullptr;
  m_hRoot = new QTreeWidgetItem(m_tree, QStringList(mainRoot ? mainRoot->text(0) : QString()));
  m_hRoot->setCheckState(0, Qt::Checked);
  m_hTables = checkedNode(m_hRoot, "TABLES", {});
  m_hQueries = checkedNode(m_hRoot, "QUERIES", {});
  for (int i = 0; mainTables && i < mainTables->childCount(); ++i)
    checkedNode(m_hTables, mainTables->child(i)->text(0), mainTables->child(i)->data(0, Qt::UserRole));
  for (int i = 0; mainQueries && i < mainQueries->childCount(); ++i)
    checkedNode(m_hQueries, mainQueries->child(i)->text(0), mainQueries->child(i)->data(0, Qt::UserRole));
  m_hRoot->setExpanded(true);
  m_hTables->setExpanded(true);
  m_hQueries->setExpanded(true);
  m_bPropagating = false;
}

void CExportOptionDlg::OnFormatAccess() {
  selectFormat(exporter::kFormatAccess);
}
void CExportOptionDlg::OnFormatCsv() {
  selectFormat(exporter::kFormatCsv);
}
void CExportOptionDlg::OnFormatSqlite() {
  selectFormat(exporter::kFormatSqlite);
}

void CExportOptionDlg::selectFormat(int32_t format) {
  // The Access target holds no queries; CSV files and the SQLite database do.
  const bool warn = format == exporter::kFormatAccess;
  m_bWarnQueries = warn;
  m_lblQueriesWarning->setEnabled(warn);
  showWarningColour();
  (format == exporter::kFormatCsv      ? m_rdoCsv
   : format == exporter::kFormatSqlite ? m_rdoSqlite
                                       : m_rdoAccess)
      ->setChecked(true);
  m_grpDestination->setTitle("Browse Destination");
  m_nFormat = format;
  m_btnExportSave->setEnabled(false);
  m_lblDestination->show();
  m_edtDestination->show();
  m_btnBrowse->show();
  m_edtDestination->clear();
}

void CExportOptionDlg::showWarningColour() {
  QPalette colours = m_lblQueriesWarning->palette();
  colours.setColor(QPalette::Active, QPalette::WindowText, m_bWarnQueries ? Qt::red : Qt::black);
  colours.setColor(QPalette::Inactive, QPalette::WindowText, m_bWarnQueries ? Qt::red : Qt::black);
  colours.setColor(QPalette::Disabled, QPalette::WindowText, Qt::gray);
  m_lblQueriesWarning->setPalette(colours);
}

void CExportOptionDlg::OnModeSchema() {
  m_rdoSchema->setChecked(true);
  m_nMode = exporter::kModeSchemaOnly;
  m_chkDeletedRows->setEnabled(false);
}

void CExportOptionDlg::OnModeSchemaData() {
  m_rdoSchemaData->setChecked(true);
  m_nMode = exporter::kModeSchemaAndData;
  m_chkDeletedRows->setEnabled(true);
}

void CExportOptionDlg::OnBrowseDestination() {
  const FolderPick pick = PickFolder(this, kPickerTitle, QDir::currentPath());
  if (!pick.picked) return;  // cancelled: nothing changes
  if (pick.path.isEmpty()) {
    ShowMessage(this, kNoFileSystemPath);
    m_edtDestination->clear();
    m_tree->setEnabled(false);
    m_btnExportSave->setEnabled(false);
    return;
  }
  m_edtDestination->setText(QDir::toNativeSeparators(pick.path));
  m_tree->setEnabled(true);
  UpdateExportButton();
}

void CExportOptionDlg::OnToggleCheck(QTreeWidgetItem* item) {
  m_bPropagating = true;
  const bool checked = item->checkState(0) == Qt::Checked;  // the state the toggle gave it
  const bool folder = item == m_hTables || item == m_hQueries;
  if (!checked) {
    if (item == m_hRoot) {
      SetChildrenCheck(m_hRoot, Qt::Unchecked);
      SetChildrenCheck(m_hTables, Qt::Unchecked);
      SetChildrenCheck(m_hQueries, Qt::Unchecked);
    } else if (folder) {
      SetChildrenCheck(item, Qt::Unchecked);
      m_hRoot->setCheckState(0, Qt::Unchecked);
    } else {
      UncheckAncestors(item);
    }
  } else if (item == m_hRoot) {
    m_hTables->setCheckState(0, Qt::Checked);
    m_hQueries->setCheckState(0, Qt::Checked);
    SetChildrenCheck(m_hTables, Qt::Checked);
    SetChildrenCheck(m_hQueries, Qt::Checked);
  } else if (folder) {
    SetChildrenCheck(item, Qt::Checked);
  }
  m_bPropagating = false;
  UpdateExportButton();
}

void CExportOptionDlg::SetChildrenCheck(QTreeWidgetItem* node, Qt::CheckState state) {
  for (int i = 0; i < node->childCount(); ++i) node->child(i)->setCheckState(0, state);
}

void CExportOptionDlg::UncheckAncestors(QTreeWidgetItem* node) {
  for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setCheckState(0, Qt::Unchecked);
}

// At least one checked table, and a destination to write to: a table export without a
// destination would write nowhere (Access) or at the root of the drive (CSV).
void CExportOptionDlg::UpdateExportButton() {
  bool tableChecked = false;
  for (int i = 0; i < m_hTables->childCount() && !tableChecked; ++i)
    tableChecked = m_hTables->child(i)->checkState(0) == Qt::Checked;
  m_btnExportSave->setEnabled(tableChecked && !m_edtDestination->text().isEmpty());
}

void CExportOptionDlg::OnExportSave() {
  std::string destination = FromQt(m_edtDestination->text());
  if (m_nFormat == exporter::kFormatCsv) destination = exporter::PrepareCsvExportFolder(destination);
  m_pMainDlg->m_strExportFolder = destination;
  m_pMainDlg->m_nExportFormat = m_nFormat;
  m_pMainDlg->m_nExportMode = m_nMode;
  m_pMainDlg->m_bExportDeleted = m_nMode == exporter::kModeSchemaAndData && m_chkDeletedRows->isChecked();
  for (int i = 0; i < m_hTables->childCount(); ++i)
    if (m_hTables->child(i)->checkState(0) == Qt::Checked)
      m_pMainDlg->m_exportTables.push_back(attached<analysis::Table>(m_hTables->child(i)));
  for (int i = 0; i < m_hQueries->childCount(); ++i)
    if (m_hQueries->child(i)->checkState(0) == Qt::Checked)
      m_pMainDlg->m_exportQueries.push_back(attached<analysis::Queries>(m_hQueries->child(i)));
  accept();
}

}  // namespace ui
