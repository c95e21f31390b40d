// Counting the records of a table's data pages, and positioning at one of them.
#include "records/record_index.h"

#include <algorithm>

#include "records/row_layout.h"
#include "records/row_states.h"

namespace records {

namespace {
// The data page at position index of dataPages; a page that cannot be read is all zeros.
std::vector<uint8_t> readDataPage(analysis::MdbRecovery& recovery, const analysis::Table& table, size_t index) {
  std::vector<uint8_t> page(analysis::kPageSize, 0);
  const int32_t pageNumber = table.dataPages[index];
  if (pageNumber >= 0) recovery.ReadPageByNumber(page.data(), static_cast<uint32_t>(pageNumber));
  return page;
}
}  // namespace

bool RowIsRecord(support::ByteView page, const analysis::Table& table, int rowIndex, int32_t pageNumber) {
  // ReadRecord's texts: an entry off the page or a malformed row gives an empty text, a deleted
  // row its message, a row of no columns "ERROR Reading Record"; none of them is a record.
  if (table.columns.empty()) return false;
  RowEntry entry;
  if (!ReadRowEntry(page, rowIndex, entry) || (entry.raw & kRowDeletedFlag)) return false;
  if (IsAbandonedMovedRow(table, pageNumber, rowIndex)) return false;
  RowGeometry geometry;
  return ReadRowGeometry(page, table, entry.start, entry.end, geometry) && geometry.columnCount != 0;
}

RecordIndex::RecordIndex(analysis::MdbRecovery& recovery, const analysis::Table& table) : recovery_(recovery) {
  recordsBefore_.reserve(table.dataPages.size() + 1);
  int64_t records = 0;
  recordsBefore_.push_back(0);
  for (size_t p = 0; p < table.dataPages.size(); ++p) {
    const std::vector<uint8_t> bytes = readDataPage(recovery, table, p);
    const support::ByteView page(bytes);
    const int rows = RowsOnPage(page);
    for (int r = 0; r < rows; ++r) records += RowIsRecord(page, table, r, table.dataPages[p]) ? 1 : 0;
    recordsBefore_.push_back(records);
  }
}

void RecordIndex::positionAt(analysis::Table& table, int64_t recordIndex) const {
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  table.currentPageIndex = 0;
  if (table.dataPages.empty() || recordIndex <= 0) return;
  const int32_t lastPage = static_cast<int32_t>(table.dataPages.size()) - 1;
  if (recordIndex >= recordCount()) {
    // The end: on the last page, past its rows.
    const std::vector<uint8_t> bytes = readDataPage(recovery_, table, static_cast<size_t>(lastPage));
    table.currentPageIndex = lastPage;
    table.nextRowInPage = RowsOnPage(support::ByteView(bytes));
    table.nextRecordIndex = static_cast<int32_t>(recordCount());
    return;
  }
  // The page p with recordsBefore_[p] <= recordIndex < recordsBefore_[p + 1].
  const auto after = std::upper_bound(recordsBefore_.begin(), recordsBefore_.end(), recordIndex);
  const auto p = static_cast<size_t>(after - recordsBefore_.begin() - 1);
  const std::vector<uint8_t> bytes = readDataPage(recovery_, table, p);
  const support::ByteView page(bytes);
  int64_t toSkip = recordIndex - recordsBefore_[p];
  int row = 0;
  for (const int rows = RowsOnPage(page); row < rows; ++row)
    if (RowIsRecord(page, table, row, table.dataPages[p]) && toSkip-- == 0) break;
  table.currentPageIndex = static_cast<int32_t>(p);
  table.nextRowInPage = row;
  table.nextRecordIndex = static_cast<int32_t>(recordIndex);
}

}  // namespace records
