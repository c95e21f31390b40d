// The record grid: one page of at most 100 records of the shown table (live records, then the
// recovered rows when they are shown), loaded on a thread of its own by record retrieval and
// shown on the GUI thread; Next and Prev move through the table.
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QLayout>
#include <QTableWidgetItem>
#include <algorithm>
#include <cstdint>

#include "records/record_fetch.h"
#include "records/record_index.h"
#include "records/row_states.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "ui/desktop.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
// Columns take the width of their content, up to this many pixels; a cut cell shows its
// whole text as a tooltip.
constexpr int kMaxColumnWidth = 320;
constexpr int kMinColumnWidth = 48;
constexpr const char* kOleObjectCell = "#OLE-OBJECT";
constexpr const char* kNullCell = "NULL";
constexpr const char* kStateHeading = "State";

// Deleted rows on a light red, free-space rows on a light amber; live rows keep the list's own.
QBrush stateBackground(records::RowState state) {
  switch (state) {
    case records::RowState::kDeleted: return QColor(255, 214, 214);
    case records::RowState::kFreeSpace: return QColor(255, 236, 179);
    default: return QBrush();
  }
}

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

// A cell's text from the value's display form; a null reads "NULL" (set apart by markNull).
QString cellText(const analysis::Column& column, const support::Value& value) {
  if (column.type == records::kTypeOle) return kOleObjectCell;
  if (value.isNull()) return kNullCell;
  return ToQt(records::ValueText(column, value));
}

// A NULL reads differently from an empty text: grey and italic.
void markNull(QTableWidgetItem* cell) {
  QFont italic = cell->font();
  italic.setItalic(true);
  cell->setFont(italic);
  cell->setForeground(Qt::gray);
}

void sizeColumns(QTableWidget* list) {
  list->resizeColumnsToContents();
  for (int i = 0; i < list->columnCount(); ++i)
    list->setColumnWidth(i, std::clamp(list->columnWidth(i), kMinColumnWidth, kMaxColumnWidth));
}
}  // namespace

void CTessalyDlg::StartRecordLoader() {
  JoinRecordLoader();
  analysis::Table* table = ShownTable();
  if (!table) {
    m_bLoadingRecords = 0;
    return;
  }
  const bool withRecovered = m_chkDeletedRows && m_chkDeletedRows->isChecked();
  m_recordLoader = std::thread(&CTessalyDlg::LoadRecordsThreadProc, this, table, ++m_nLoad, m_nPage, withRecovered);
}

void CTessalyDlg::JoinRecordLoader() {
  if (m_recordLoader.joinable()) m_recordLoader.join();
}

void CTessalyDlg::LoadRecordsThreadProc(analysis::Table* table, int load, int32_t page, bool withRecovered) {
  CountRecords(table);
  const tblTraverseInfo pageStart{table->currentPageIndex, table->nextRecordIndex, table->nextRowInPage};
  std::vector<records::TypedRecord> records;
  records::FetchTypedRecords(m_analysis, *table, records);
  std::vector<records::RowState> states;
  std::string countsText;
  int64_t recoveredRows = 0;
  if (withRecovered) {
    states.assign(records.size(), records::RowState::kLive);
    // The table's rows are its live records, then its recovered rows: the page's places left
    // after its live records take the recovered rows that follow them, once the live ones
    // have ended.
    const int64_t live = m_recordIndex ? m_recordIndex->recordCount() : 0;
    const int64_t pageStart = static_cast<int64_t>(page - 1) * records::kRecordsPerScreen;
    const int64_t liveEnd = pageStart + static_cast<int64_t>(records.size());
    const size_t room = records.size() < static_cast<size_t>(records::kRecordsPerScreen)
                            ? records::kRecordsPerScreen - records.size()
                            : 0;
    const size_t first = static_cast<size_t>(std::max<int64_t>(0, pageStart - live));
    RecoveredSlice slice = m_recoveredRows.slice(m_analysis, *table, first, liveEnd >= live ? room : 0);
    for (records::RecoveredRecord& row : slice.rows) {
      records.push_back(std::move(row.values));
      states.push_back(row.state);
    }
    countsText = RowStateCountsText(slice.counts);
    recoveredRows = static_cast<int64_t>(slice.total);
  }
  // A page that arrives after Browse or View reset the tree belongs to tables that are gone.
  m_calls.post([this, table, pageStart, load, records = std::move(records), states = std::move(states), countsText,
                recoveredRows]() mutable {
    if (load == m_nLoad) ShowRecordPage(table, pageStart, std::move(records), states, countsText, recoveredRows);
  });
}

void CTessalyDlg::ShowRecordPage(analysis::Table* table, tblTraverseInfo pageStart,
                                 std::vector<records::TypedRecord> rows, const std::vector<records::RowState>& states,
                                 const std::string& countsText, int64_t recoveredRows) {
  JoinRecordLoader();
  m_nRecoveredRows = recoveredRows;
  m_shownPageStart = pageStart;
  // Kept for the record detail window, which shows a row's values in full.
  m_pageRows = std::move(rows);
  const std::vector<records::TypedRecord>& records = m_pageRows;
  m_list->clear();
  m_list->setRowCount(0);
  const int columns = static_cast<int>(table->columns.size());
  const int first = states.empty() ? 0 : 1;  // the state column leads when states are shown
  m_list->setColumnCount(columns + first);
  if (first == 1) m_list->setHorizontalHeaderItem(0, new QTableWidgetItem(kStateHeading));
  for (int i = 0; i < columns; ++i) {
    const analysis::Column& column = table->columns[i];
    auto* heading = new QTableWidgetItem(ToQt(column.name));
    heading->setTextAlignment((leftAligned(column.type) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    m_list->setHorizontalHeaderItem(first + i, heading);
  }
  m_list->setRowCount(static_cast<int>(records.size()));
  for (size_t r = 0; r < records.size(); ++r) {
    const records::TypedRecord& values = records[r];
    const records::RowState state = r < states.size() ? states[r] : records::RowState::kLive;
    const QBrush background = stateBackground(state);
    const int row = m_nRowsShown++;
    if (first == 1) {
      auto* cell = new QTableWidgetItem(records::RowStateName(state));
      cell->setBackground(background);
      m_list->setItem(row, 0, cell);
    }
    for (int j = 0; j < columns && j < static_cast<int>(values.size()); ++j) {
      const analysis::Column& column = table->columns[j];
      auto* cell = new QTableWidgetItem(cellText(column, values[j]));
      cell->setTextAlignment((leftAligned(column.type) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (values[j].isNull() && column.type != records::kTypeOle) markNull(cell);
      cell->setBackground(background);
      m_list->setItem(row, first + j, cell);
    }
  }
  m_lblRowStates->setText(ToQt(countsText));
  // The counts get their room now, not at the next turn of the event loop.
  layout()->activate();
  sizeColumns(m_list);
  SetCutCellTooltips();
  m_btnNext->setFocus();
  ShowPagingState();
}

// Cells and headings narrower than their text carry the whole text as a tooltip.
void CTessalyDlg::SetCutCellTooltips() {
  const QFontMetrics metrics = m_list->fontMetrics();
  for (int j = 0; j < m_list->columnCount(); ++j) {
    const int room = m_list->columnWidth(j) - 8;
    for (int i = 0; i < m_list->rowCount(); ++i) {
      QTableWidgetItem* cell = m_list->item(i, j);
      if (!cell) continue;
      const QString text = cell->text();
      const bool cut = metrics.horizontalAdvance(text) > room || text.contains('\n');
      cell->setToolTip(cut ? text : QString());
    }
  }
}

void CTessalyDlg::OnNext() {
  if (!m_hShownItem || m_bLoadingRecords) return;
  EnablePaging(false);
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
  // With the records counted, the page before is found by its record numbers.
  if (CanPage()) return GoToPage(m_nPage - 1);
  EnablePaging(false);
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
