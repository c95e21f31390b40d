// The recovered rows (deleted and free-space) of the table the record list shows, read once per
// table on the record loader's thread and kept until the tree is reset; the screens that follow
// the live records take their rows from here.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "records/recovered_records.h"

namespace ui {

class RecoveredRowsCache {
 public:
  // Rows [first, first + count) of the table's recovered rows, which are read on first use
  // (with the table's page buffer and g_rowFields: call only where records are loaded); counts
  // receives what the table's pages hold.
  std::vector<records::RecoveredRecord> slice(analysis::MdbRecovery& recovery, analysis::Table& table, size_t first,
                                              size_t count, records::RowStateCounts& counts);
  void clear();

 private:
  std::mutex mutex_;
  const analysis::Table* table_ = nullptr;
  std::vector<records::RecoveredRecord> rows_;
  records::RowStateCounts counts_;
};

// "4 live, 1 deleted, 2 free-space, 1 unreadable": the counts the record list's status shows.
std::string RowStateCountsText(const records::RowStateCounts& counts);

}  // namespace ui
