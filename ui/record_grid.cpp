// The record grid: one page of at most 100 records of the shown table, loaded on a thread of
// its own by record retrieval and shown on the GUI thread; Next and Prev move through the table.
#include <QHeaderView>
#include <QTableWidgetItem>

#include "records/record_fetch.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "ui/desktop.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
constexpr int kColumnWidth = 180;
constexpr const char* kOleObjectCell = "#OLE-OBJECT";

bool leftAligned(int type) {
  switch (type) {
    case records::kTypeDate:
    case records::kTypeText:
    case records::kTypeOle:
    case records::kTypeMemo:
    case records::kTypeGuid: return true;
    default: return false;
  }
}

// A cell's text from the value's display form; a null is a blank cell (a text "NULL" is shown).
std::string cellText(const analysis::Column& column, const support::Value& value) {
  if (column.type == records::kTypeOle) return kOleObjectCell;
  if (value.isNull()) return " ";
  return records::ValueText(column, value);
}
}  // namespace

void CTessalyDlg::StartRecordLoader() {
  JoinRecordLoader();
  analysis::Table* table = ShownTable();
  if (!table) {
    m_bLoadingRecords = 0;
    return;
  }
  m_recordLoader = std::thread(&CTessalyDlg::LoadRecordsThreadProc, this, table, ++m_nLoad);
}

void CTessalyDlg::JoinRecordLoader() {
  if (m_recordLoader.joinable()) m_recordLoader.join();
}

void CTessalyDlg::LoadRecordsThreadProc(analysis::Table* table, int load) {
  const tblTraverseInfo pageStart{table->currentPageIndex, table->nextRecordIndex, table->nextRowInPage};
  std::vector<records::TypedRecord> records;
  records::FetchTypedRecords(m_analysis, *table, records);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(records.size());
  for (const records::TypedRecord& record : records) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (size_t c = 0; c < record.size() && c < table->columns.size(); ++c)
      cells.push_back(cellText(table->columns[c], record[c]));
  }
  // A page that arrives after Browse or View reset the tree belongs to tables that are gone.
  m_calls.post([this, table, pageStart, load, rows = std::move(rows)] {
    if (load == m_nLoad) ShowRecordPage(table, pageStart, rows);
  });
}

void CTessalyDlg::ShowRecordPage(analysis::Table* table, tblTraverseInfo pageStart,
                                 const std::vector<std::vector<std::string>>& rows) {
  JoinRecordLoader();
  m_shownPageStart = pageStart;
  m_list->clear();
  m_list->setRowCount(0);
  const int columns = static_cast<int>(table->columns.size());
  m_list->setColumnCount(columns);
  for (int i = 0; i < columns; ++i) {
    const analysis::Column& column = table->columns[i];
    auto* heading = new QTableWidgetItem(ToQt(column.name));
    heading->setTextAlignment((leftAligned(column.type) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    m_list->setHorizontalHeaderItem(i, heading);
    m_list->setColumnWidth(i, kColumnWidth);
  }
  m_list->setRowCount(static_cast<int>(rows.size()));
  for (const std::vector<std::string>& values : rows) {
    const int row = m_nRowsShown++;
    for (int j = 0; j < columns && j < static_cast<int>(values.size()); ++j) {
      const analysis::Column& column = table->columns[j];
      auto* cell = new QTableWidgetItem(ToQt(values[j]));
      cell->setTextAlignment((leftAligned(column.type) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      m_list->setItem(row, j, cell);
    }
  }
  m_btnNext->setFocus();
  m_lblRowCount->setText(QString::number(m_list->rowCount()));
  m_lblPage->setText(QString::number(m_nPage));
  m_btnPrev->setEnabled(!m_pageStack.empty());
  m_btnNext->setEnabled(m_list->rowCount() >= records::kRecordsPerScreen);
  m_bLoadingRecords = 0;
}

void CTessalyDlg::OnNext() {
  if (!m_hShownItem || m_bLoadingRecords) return;
  m_btnNext->setEnabled(false);
  m_btnPrev->setEnabled(false);
  tblTraverseInfo start = m_shownPageStart;
  if (start.currentPageIndex < 0 || start.nextRecordIndex < 0 || start.nextRowInPage < 0) start = {0, 0, 0};
  m_pageStack.push_back(start);
  m_nRowsShown = 0;
  ++m_nPage;
  m_bLoadingRecords = 1;
  StartRecordLoader();
}

void CTessalyDlg::OnPrev() {
  if (!m_hShownItem || m_pageStack.empty() || m_bLoadingRecords) return;
  analysis::Table* table = ShownTable();
  if (!table) return;
  m_btnNext->setEnabled(false);
  m_btnPrev->setEnabled(false);
  const tblTraverseInfo start = m_pageStack.back();
  m_pageStack.pop_back();
  table->currentPageIndex = start.currentPageIndex;
  table->nextRecordIndex = start.nextRecordIndex;
  table->nextRowInPage = start.nextRowInPage;
  m_nRowsShown = 0;
  --m_nPage;
  m_bLoadingRecords = 1;
  StartRecordLoader();
}

}  // namespace ui
