// The record detail window of the main window: a double-click (or Enter) on a row of the grid
// shows that record in full.
#include "records/value_text.h"
#include "ui/desktop.h"
#include "ui/record_detail_dlg.h"
#include "ui/tessaly_dlg.h"

namespace ui {

std::vector<DetailField> CTessalyDlg::RecordDetailFields(int row) const {
  std::vector<DetailField> fields;
  const analysis::Table* table = ShownTable();
  if (!table || row < 0 || row >= static_cast<int>(m_pageRows.size())) return fields;
  const records::TypedRecord& values = m_pageRows[row];
  for (size_t j = 0; j < table->columns.size(); ++j) {
    DetailField field;
    field.name = ToQt(table->columns[j].name);
    if (j < values.size()) field.value = values[j];
    field.text = ToQt(records::ValueText(table->columns[j], field.value));
    fields.push_back(std::move(field));
  }
  return fields;
}

RecordDetailDlg* CTessalyDlg::ShowRecordDetail(int row) {
  std::vector<DetailField> fields = RecordDetailFields(row);
  if (fields.empty()) return nullptr;
  const int64_t number = static_cast<int64_t>(m_nPage - 1) * 100 + row + 1;
  const QString title = QString("Record %1 of %2").arg(number).arg(m_lblTableName->text());
  m_detailDlg = std::make_unique<RecordDetailDlg>(this, title, fields);
  m_detailDlg->show();
  return m_detailDlg.get();
}

}  // namespace ui
