// The main window's switch for deleted and free-space rows: off by default; turning it shows
// the selected table again from its first page, with or without the recovered rows.
#include "ui/dialog_controls.h"
#include "ui/tessaly_dlg.h"

namespace ui {

void CTessalyDlg::buildDeletedRowsSwitch() {
  m_chkDeletedRows = new QCheckBox("Show deleted rows", this);
  m_chkDeletedRows->setObjectName("deletedRows");
  m_chkDeletedRows->setChecked(false);
  place(m_chkDeletedRows, 6, 318, 110, 12);
  m_lblRowStates = makeLabel(this, "rowStates", "", 326, 320, 210, 10);
  connect(m_chkDeletedRows, &QCheckBox::toggled, this, &CTessalyDlg::OnShowDeletedRows);
}

void CTessalyDlg::OnShowDeletedRows(bool show) {
  if (!show) m_lblRowStates->setText("");
  if (!m_hShownItem || m_hShownItem->parent() != m_hTablesItem || m_bLoadingRecords) return;
  ShowTable(m_hShownItem);
}

}  // namespace ui
