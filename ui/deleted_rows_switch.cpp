// The main window's switch for deleted and free-space rows: off by default; turning it shows
// the selected table again from its first page, with or without the recovered rows, and a line
// beside it gives the table's row counts.
#include <QHBoxLayout>

#include "ui/tessaly_dlg.h"

namespace ui {

void CTessalyDlg::buildDeletedRowsSwitch(QHBoxLayout* row) {
  m_chkDeletedRows = new QCheckBox("Show deleted rows", this);
  m_chkDeletedRows->setObjectName("deletedRows");
  m_chkDeletedRows->setChecked(false);
  m_lblRowStates = new QLabel(this);
  m_lblRowStates->setObjectName("rowStates");
  row->addWidget(m_chkDeletedRows);
  row->addWidget(m_lblRowStates);
  connect(m_chkDeletedRows, &QCheckBox::toggled, this, &CTessalyDlg::OnShowDeletedRows);
}

void CTessalyDlg::OnShowDeletedRows(bool show) {
  if (!show) m_lblRowStates->clear();
  if (!m_hShownItem || m_hShownItem->parent() != m_hTablesItem || m_bLoadingRecords) return;
  ShowTable(m_hShownItem);
}

}  // namespace ui
