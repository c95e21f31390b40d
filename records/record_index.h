// Where any record of a table lies, so that a screen deep in the table is fetched without
// decoding every row before it. Built once per table by a counting record cursor (no values are
// decoded), so a row counts as a record exactly when record retrieval puts it on a screen.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/record_cursor.h"

namespace records {

class RecordIndex {
 public:
  // Reads every data page of the table once.
  RecordIndex(analysis::MdbRecovery& recovery, const analysis::Table& table);

  int64_t recordCount() const { return recordsBefore_.empty() ? 0 : recordsBefore_.back(); }

  // Sets the table's paging position so that the next FetchRecords starts at record
  // recordIndex (counted from 0); a record past the end leaves the position at the table's end.
  void positionAt(analysis::Table& table, int64_t recordIndex) const;

 private:
  analysis::MdbRecovery& recovery_;
  // recordsBefore_[p]: records on the data pages before position p of dataPages; one more
  // entry than there are data pages, the last being the table's record count.
  std::vector<int64_t> recordsBefore_;
};

}  // namespace records
