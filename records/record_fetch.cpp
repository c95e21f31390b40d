// ReadRecord and FetchRecords. A screen ends when it holds 100 records or when the row entries
// of the table's last data page are used up; entries that are not records (deleted rows,
// moved-row pointers, malformed rows) take no place in it.
#include "records/record_fetch.h"

#include <algorithm>
#include <functional>

#include "records/record_cursor.h"
#include "records/record_text.h"
#include "records/row_decoder.h"
#include "records/row_layout.h"
#include "records/row_states.h"

namespace records {

int LoadDataPage(analysis::MdbRecovery& recovery, analysis::Table& table, int32_t index) {
  table.pageBuffer.assign(analysis::kPageSize, 0);
  const int32_t pageNumber = table.dataPages[static_cast<size_t>(index)];
  if (pageNumber >= 0) recovery.ReadPageByNumber(table.pageBuffer.data(), static_cast<uint32_t>(pageNumber));
  return RowsOnPage(support::ByteView(table.pageBuffer));
}

int32_t CurrentPageNumber(const analysis::Table& table) {
  const int32_t index = table.currentPageIndex;
  return index >= 0 && static_cast<size_t>(index) < table.dataPages.size() ? table.dataPages[static_cast<size_t>(index)]
                                                                           : -1;
}

int ReadRecord(analysis::MdbRecovery& recovery, analysis::Table& table, int rowIndex, std::string& text) {
  text.clear();
  recovery.rowIsLookup = 0;
  recovery.rowIsDeleted = 0;
  RowEntry entry;
  if (!ReadRowEntry(support::ByteView(table.pageBuffer), rowIndex, entry)) return 1;  // malformed
  if (entry.raw & kRowLookupFlag) {
    recovery.rowIsLookup = 1;
    text = kLookupRowMessage;
  }
  if ((entry.raw & kRowDeletedFlag) || IsAbandonedMovedRow(table, CurrentPageNumber(table), rowIndex)) {
    recovery.rowIsDeleted = 1;
    text += kDeletedRowMessage;
    return -1;
  }
  if (recovery.Channel().aborted()) return -1;
  return DecodeRow(recovery, table, entry.start, entry.end, text) != 0 ? 1 : 0;
}

namespace {
// One screen from the table's paging position: up to 100 records, each handed to onRecord as the
// cursor holds it. 1, or -1 without data pages or on abort (the position then stays).
int fetchScreen(analysis::MdbRecovery& recovery, analysis::Table& table, CursorDecode decode,
                const std::function<void(const RecordCursor&)>& onRecord) {
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  if (table.dataPages.empty()) return -1;
  const int32_t lastPage = static_cast<int32_t>(table.dataPages.size()) - 1;
  if (table.currentPageIndex > lastPage) {  // a position past the table: nothing left
    table.currentPageIndex = lastPage;
    return 1;
  }
  const int32_t startPageIndex = table.currentPageIndex;
  RecordCursor cursor(recovery, table, decode,
                      RowPosition{std::max(table.currentPageIndex, 0), std::max(table.nextRowInPage, 0)});
  int count = 0;
  while (count < kRecordsPerScreen && cursor.next()) {
    onRecord(cursor);
    ++count;
  }
  if (cursor.aborted()) {
    table.currentPageIndex = startPageIndex;
    return -1;
  }
  table.currentPageIndex = cursor.resumePosition().pageIndex;
  table.nextRecordIndex = std::max(table.nextRecordIndex, 0) + count;
  table.nextRowInPage = cursor.resumePosition().row;
  return 1;
}
}  // namespace

int FetchRecords(analysis::MdbRecovery& recovery, analysis::Table& table, std::string* texts) {
  int slot = 0;
  return fetchScreen(recovery, table, CursorDecode::kValuesAndTexts,
                     [&](const RecordCursor& cursor) { texts[slot++] = cursor.recordText(); });
}

int FetchTypedRecords(analysis::MdbRecovery& recovery, analysis::Table& table, std::vector<TypedRecord>& records) {
  records.clear();
  return fetchScreen(recovery, table, CursorDecode::kValues, [&](const RecordCursor& cursor) {
    TypedRecord& record = records.emplace_back();
    record.reserve(table.columns.size());
    for (const auto& column : table.columns) record.push_back(cursor.value(column));
  });
}

}  // namespace records
