// The recovered rows (deleted and free-space) of the table the record list shows, read once per
// table on the record loader's thread and kept until the tree is reset. With them shown, the
// table's rows are its live records, then these; each screen takes its share from here.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "records/recovered_records.h"

namespace ui {

struct RecoveredSlice {
  std::vector<records::RecoveredRecord> rows;
  records::RowStateCounts counts;  // what the table's pages hold
  size_t total = 0;                // the table's recovered rows
};

class RecoveredRowsCache {
 public:
  // Rows [first, first + count) of the table's recovered rows, which are read on first use
  // (with the table's page buffer and g_rowFields: call only where records are loaded).
  RecoveredSlice slice(analysis::MdbRecovery& recovery, analysis::Table& table, size_t first, size_t count);
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
