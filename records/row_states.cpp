// Classifying row entries into live, deleted, free-space and unreadable, and the walk over a
// table's live and freed pages that yields the rows a recovery can still show.
#include "records/row_states.h"

#include <algorithm>

#include "records/row_check.h"
#include "records/row_layout.h"

namespace records {

namespace {
constexpr uint16_t kFlagsMask = kRowDeletedFlag | kRowLookupFlag;
constexpr int64_t kPointerSize = 4;  // u8 row, u24 page

support::ByteView rowBytes(support::ByteView page, const RowEntry& entry) {
  return entry.end < entry.start ? support::ByteView() : page.slice(entry.start, entry.end - entry.start + 1);
}

// A live entry is a record exactly when the record list would show it.
EntryKind liveKind(support::ByteView page, const analysis::Table& table, const RowEntry& entry) {
  RowGeometry geometry;
  if (table.columns.empty() || !ReadRowGeometry(page, table, entry.start, entry.end, geometry) ||
      geometry.columnCount == 0)
    return EntryKind::kUnreadable;
  return EntryKind::kLive;
}
}  // namespace

const char* RowStateName(RowState state) {
  switch (state) {
    case RowState::kLive: return "live";
    case RowState::kDeleted: return "deleted";
    case RowState::kFreeSpace: return "free-space";
  }
  return "live";
}

bool IsAbandonedMovedRow(const analysis::Table& table, int32_t pageNumber, int rowIndex) {
  if (table.abandonedMovedRows.empty() || pageNumber < 0 || rowIndex < 0 || rowIndex > 0xFF) return false;
  const uint32_t key = static_cast<uint32_t>(pageNumber) << 8 | static_cast<uint32_t>(rowIndex);
  return std::binary_search(table.abandonedMovedRows.begin(), table.abandonedMovedRows.end(), key);
}

EntryClassifier::EntryClassifier(const analysis::Table& table) : table_(table) {
  pages_.insert(table.dataPages.begin(), table.dataPages.end());
  pages_.insert(table.freedPages.begin(), table.freedPages.end());
}

bool EntryClassifier::namesRowOfTable(support::ByteView row) const {
  return row.size() >= kPointerSize && pages_.count(static_cast<int32_t>(row.u24(1))) != 0;
}

EntryKind EntryClassifier::classify(support::ByteView page, int32_t pageNumber, bool freedPage, int rowIndex) const {
  RowEntry entry;
  if (!ReadRowEntry(page, rowIndex, entry)) return EntryKind::kNotARow;
  const uint16_t flags = entry.raw & kFlagsMask;
  if (flags == kRowDeletedFlag) return EntryKind::kNotARow;  // a live pointer; its row is read where it sits
  const bool deleted =
      flags == kFlagsMask || (flags == kRowLookupFlag && IsAbandonedMovedRow(table_, pageNumber, rowIndex));
  if (!freedPage && !deleted) return liveKind(page, table_, entry);

  const support::ByteView row = rowBytes(page, entry);
  if (row.empty()) return EntryKind::kNotARow;  // emptied: its space was reclaimed
  if (CheckRow(table_, row) == RowFault::kNone) return freedPage ? EntryKind::kFreeSpace : EntryKind::kDeleted;
  // What is left of a deleted pointer is no damaged row.
  if (flags == kFlagsMask && namesRowOfTable(row)) return EntryKind::kNotARow;
  return EntryKind::kUnreadable;
}

RowStateCounts WalkRowStates(analysis::MdbRecovery& recovery, analysis::Table& table,
                             const std::function<bool(const RecoveredRow&)>& onRecovered) {
  RowStateCounts counts;
  const EntryClassifier classifier(table);
  auto walkPage = [&](int32_t pageNumber, bool freedPage) {
    table.pageBuffer.assign(analysis::kPageSize, 0);
    if (pageNumber >= 0) recovery.ReadPageByNumber(table.pageBuffer.data(), static_cast<uint32_t>(pageNumber));
    const support::ByteView page(table.pageBuffer);
    const int rows = RowsOnPage(page);
    for (int r = 0; r < rows; ++r) {
      const EntryKind kind = classifier.classify(page, pageNumber, freedPage, r);
      RecoveredRow row;
      row.pageNumber = pageNumber;
      row.rowIndex = r;
      switch (kind) {
        case EntryKind::kNotARow: continue;
        case EntryKind::kLive: ++counts.live; continue;
        case EntryKind::kUnreadable: ++counts.unreadable; continue;
        case EntryKind::kDeleted:
          ++counts.deleted;
          row.state = RowState::kDeleted;
          break;
        case EntryKind::kFreeSpace:
          ++counts.freeSpace;
          row.state = RowState::kFreeSpace;
          break;
      }
      RowEntry entry;
      ReadRowEntry(page, r, entry);
      row.start = entry.start;
      row.end = entry.end;
      if (onRecovered && !onRecovered(row)) return false;
    }
    return true;
  };
  for (int32_t pageNumber : table.dataPages)
    if (!walkPage(pageNumber, false)) return counts;
  for (int32_t pageNumber : table.freedPages)
    if (!walkPage(pageNumber, true)) return counts;
  return counts;
}

}  // namespace records
