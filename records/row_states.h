// What each row entry of a table's pages holds when every row the file still holds is wanted:
// live rows, deleted rows whose bytes are still whole, rows left on freed pages, and entries
// whose bytes no longer form a row.
//
// Entry flags (row entry bits 14-15):
//   0000          a live row
//   4000 alone    a pointer to a moved row: not a row itself
//   8000 alone    a moved row's data: live, unless only deleted pointers lead to it
//   C000          a deleted row, or a deleted pointer (4 bytes naming a row of the table)
// Every row on a freed page (owned by the table, no longer in its map) is a free-space row.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_set>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/record_cursor.h"
#include "support/byte_view.h"

namespace records {

// "live", "deleted", "free-space".
const char* RowStateName(RowState state);

enum class EntryKind : uint8_t {
  kNotARow,  // a pointer (live or deleted), an emptied entry, an entry off the page
  kLive,
  kDeleted,
  kFreeSpace,
  kUnreadable,  // bytes that do not form a consistent row: counted, never shown
};

// True when the entry is a moved row that only deleted pointers lead to.
bool IsAbandonedMovedRow(const analysis::Table& table, int32_t pageNumber, int rowIndex);

class EntryClassifier {
 public:
  explicit EntryClassifier(const analysis::Table& table);
  // Entry rowIndex of page pageNumber; freedPage when the page is one of the table's freedPages.
  EntryKind classify(support::ByteView page, int32_t pageNumber, bool freedPage, int rowIndex) const;

 private:
  bool namesRowOfTable(support::ByteView row) const;

  const analysis::Table& table_;
  std::unordered_set<int32_t> pages_;  // live and freed
};

struct RowStateCounts {
  int64_t live = 0;
  int64_t deleted = 0;
  int64_t freeSpace = 0;
  int64_t unreadable = 0;
};

// One row that is not live but still decodes; its page is loaded in table.pageBuffer.
struct RecoveredRow {
  RowState state = RowState::kDeleted;
  int32_t pageNumber = -1;
  int rowIndex = 0;
  int64_t start = 0;  // first and last byte in table.pageBuffer
  int64_t end = 0;
};

// Walks the live pages, then the freed pages, loading each into table.pageBuffer. onRecovered
// (may be empty) sees each deleted and free-space row and returns false to stop the walk.
// Returns the counts of what the walk saw.
RowStateCounts WalkRowStates(analysis::MdbRecovery& recovery, analysis::Table& table,
                             const std::function<bool(const RecoveredRow&)>& onRecovered);

}  // namespace records
