// CExportOptionDlg: the modal dialog of the Export command. The user picks the format (a new
// Access database or CSV files), the mode (schema only, or schema and data), a destination
// folder and, in a check tree copied from the main window's tree, the tables and queries.
// Export/Save prepares the destination and writes the choices into the main window.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "ui/white_dialog.h"

namespace ui {

class CTessalyDlg;

class CExportOptionDlg : public WhiteDialog {
  Q_OBJECT
 public:
  explicit CExportOptionDlg(CTessalyDlg* mainDlg);

  int32_t m_nFormat = 0;  // 1 MS Access database, 2 CSV files
  int32_t m_nMode = 0;    // 10 only schema, 11 schema and data
  bool m_bWarnQueries = false;
  QTreeWidgetItem* m_hRoot = nullptr;
  QTreeWidgetItem* m_hTables = nullptr;
  QTreeWidgetItem* m_hQueries = nullptr;

  void OnFormatAccess();
  void OnFormatCsv();
  void OnModeSchema();
  void OnModeSchemaData();
  void OnBrowseDestination();
  void OnExportSave();

 private:
  void buildControls();
  void OnInitDialog();
  void BuildTree();
  void selectFormat(int32_t format);
  // The check box of item has just toggled (the user clicked it or pressed Space on it).
  void OnToggleCheck(QTreeWidgetItem* item);
  void SetChildrenCheck(QTreeWidgetItem* node, Qt::CheckState state);
  void UncheckAncestors(QTreeWidgetItem* node);
  void UpdateExportButton();
  void showWarningColour();

  CTessalyDlg* m_pMainDlg;
  bool m_bPropagating = false;  // the handler's own check changes do not toggle again

  QButtonGroup* m_formatGroup;
  QButtonGroup* m_modeGroup;
  QRadioButton* m_rdoAccess;
  QRadioButton* m_rdoCsv;
  QLabel* m_lblQueriesWarning;
  QGroupBox* m_grpDestination;
  QLabel* m_lblDestination;
  QLineEdit* m_edtDestination;
  QPushButton* m_btnBrowse;
  QTreeWidget* m_tree;
  QRadioButton* m_rdoSchema;
  QRadioButton* m_rdoSchemaData;
  QCheckBox* m_chkDeletedRows;  // with the data: each table's deleted and free-space rows too
  QPushButton* m_btnExportSave;
  QPushButton* m_btnCancel;
};

}  // namespace ui
