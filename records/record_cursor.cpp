// The record cursor's walk. A row entry is a record when it lies on the page, is not deleted,
// and its layout is sound with at least one stored column (malformed rows and rows of no
// columns are skipped, as the record list always skipped them).
#include "records/record_cursor.h"

#include "records/record_fetch.h"
#include "records/row_decoder.h"
#include "records/row_layout.h"
#include "records/row_states.h"

namespace records {

RecordCursor::RecordCursor(analysis::MdbRecovery& recovery, analysis::Table& table, CursorDecode decode,
                           RowPosition start)
    : recovery_(recovery), table_(table), decodingTable_(&table), decode_(decode), next_(start) {
  page_ = &table.pageBuffer;
  if (decode_ == CursorDecode::kNone) {
    decodingTable_ = nullptr;
    page_ = &ownPage_;
  } else {
    analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  }
  nullField_.text = "NULL";
}

RecordCursor::RecordCursor(analysis::MdbRecovery& recovery, const analysis::Table& table, RowPosition start)
    : recovery_(recovery), table_(table), decode_(CursorDecode::kNone), page_(&ownPage_), next_(start) {
  nullField_.text = "NULL";
}

bool RecordCursor::aborted() const {
  return recovery_.Channel().aborted();
}

int RecordCursor::loadPage() {
  loadedPage_ = next_.pageIndex;
  if (decodingTable_ != nullptr) return LoadDataPage(recovery_, *decodingTable_, loadedPage_);
  ownPage_.assign(analysis::kPageSize, 0);
  const int32_t pageNumber = table_.dataPages[static_cast<size_t>(loadedPage_)];
  if (pageNumber >= 0) recovery_.ReadPageByNumber(ownPage_.data(), static_cast<uint32_t>(pageNumber));
  return RowsOnPage(support::ByteView(ownPage_));
}

bool RowIsRecord(support::ByteView page, const analysis::Table& table, int rowIndex, int32_t pageNumber) {
  if (table.columns.empty()) return false;
  RowEntry entry;
  if (!ReadRowEntry(page, rowIndex, entry) || (entry.raw & kRowDeletedFlag)) return false;
  if (IsAbandonedMovedRow(table, pageNumber, rowIndex)) return false;
  RowGeometry geometry;
  return ReadRowGeometry(page, table, entry.start, entry.end, geometry) && geometry.columnCount != 0;
}

bool RecordCursor::decodeCurrent() {
  if (decode_ == CursorDecode::kNone) return true;
  RowEntry entry;
  ReadRowEntry(support::ByteView(*page_), current_.row, entry);
  if (decode_ == CursorDecode::kValues) return DecodeRowValues(recovery_, *decodingTable_, entry.start, entry.end) > 0;
  return DecodeRow(recovery_, *decodingTable_, entry.start, entry.end, recordText_) > 0;
}

bool RecordCursor::next() {
  const int32_t pages = static_cast<int32_t>(table_.dataPages.size());
  if (next_.pageIndex < 0) next_ = {0, 0};
  if (next_.row < 0) next_.row = 0;
  while (next_.pageIndex < pages) {
    if (aborted()) return false;
    if (loadedPage_ != next_.pageIndex) rowsOnPage_ = loadPage();
    if (next_.row >= rowsOnPage_) {
      if (next_.pageIndex + 1 >= pages) return false;  // the end: the position stays past the last entry
      next_ = {next_.pageIndex + 1, 0};
      continue;
    }
    current_ = next_;
    ++next_.row;
    const int32_t pageNumber = table_.dataPages[static_cast<size_t>(current_.pageIndex)];
    if (!RowIsRecord(support::ByteView(*page_), table_, current_.row, pageNumber)) continue;
    state_ = RowState::kLive;
    if (!decodeCurrent()) return false;  // the layout was sound: only an abort stops the decoder
    return true;
  }
  return false;
}

const analysis::Field& RecordCursor::field(const analysis::Column& column) const {
  if (column.columnNumber >= 0 && static_cast<size_t>(column.columnNumber) < analysis::g_rowFields.size())
    return analysis::g_rowFields[static_cast<size_t>(column.columnNumber)];
  return nullField_;
}

}  // namespace records
