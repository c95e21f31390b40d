// RecoveredRowsCache.
#include "ui/recovered_rows_cache.h"

#include <algorithm>

namespace ui {

RecoveredSlice RecoveredRowsCache::slice(analysis::MdbRecovery& recovery, analysis::Table& table, size_t first,
                                         size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (table_ != &table) {
    counts_ = records::RowStateCounts{};
    rows_ = records::ReadRecoveredRecords(recovery, table, &counts_);
    table_ = recovery.Channel().aborted() ? nullptr : &table;  // a stopped read is read again
  }
  RecoveredSlice slice;
  slice.counts = counts_;
  slice.total = rows_.size();
  if (first >= rows_.size()) return slice;
  const size_t last = first + std::min(count, rows_.size() - first);
  slice.rows.assign(rows_.begin() + static_cast<long>(first), rows_.begin() + static_cast<long>(last));
  return slice;
}

void RecoveredRowsCache::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  table_ = nullptr;
  rows_.clear();
  counts_ = records::RowStateCounts{};
}

std::string RowStateCountsText(const records::RowStateCounts& counts) {
  return std::to_string(counts.live) + " live, " + std::to_string(counts.deleted) + " deleted, " +
         std::to_string(counts.freeSpace) + " free-space, " + std::to_string(counts.unreadable) + " unreadable";
}

}  // namespace ui
