// Counting the records of a table's data pages, and positioning at one of them.
#include "records/record_index.h"

#include <algorithm>
#include <numeric>

namespace records {

RecordIndex::RecordIndex(analysis::MdbRecovery& recovery, const analysis::Table& table) : recovery_(recovery) {
  recordsBefore_.assign(table.dataPages.size() + 1, 0);
  RecordCursor cursor(recovery, table);
  while (cursor.next()) ++recordsBefore_[static_cast<size_t>(cursor.position().pageIndex) + 1];
  std::partial_sum(recordsBefore_.begin(), recordsBefore_.end(), recordsBefore_.begin());
}

void RecordIndex::positionAt(analysis::Table& table, int64_t recordIndex) const {
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  table.currentPageIndex = 0;
  if (table.dataPages.empty() || recordIndex <= 0) return;
  const int32_t lastPage = static_cast<int32_t>(table.dataPages.size()) - 1;
  if (recordIndex >= recordCount()) {
    // The end: on the last page, past its entries.
    RecordCursor cursor(recovery_, table, RowPosition{lastPage, 0});
    while (cursor.next()) {
    }
    table.currentPageIndex = lastPage;
    table.nextRowInPage = cursor.resumePosition().row;
    table.nextRecordIndex = static_cast<int32_t>(recordCount());
    return;
  }
  // The page p with recordsBefore_[p] <= recordIndex < recordsBefore_[p + 1], then the record
  // there.
  const auto after = std::upper_bound(recordsBefore_.begin(), recordsBefore_.end(), recordIndex);
  const auto p = static_cast<int32_t>(after - recordsBefore_.begin() - 1);
  RecordCursor cursor(recovery_, table, RowPosition{p, 0});
  for (int64_t toSkip = recordIndex - recordsBefore_[static_cast<size_t>(p)]; cursor.next() && toSkip > 0; --toSkip) {
  }
  table.currentPageIndex = p;
  table.nextRowInPage = cursor.position().row;
  table.nextRecordIndex = static_cast<int32_t>(recordIndex);
}

}  // namespace records
