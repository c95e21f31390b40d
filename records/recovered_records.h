// The rows a table no longer shows as records but the file still holds: deleted rows whose
// bytes are whole and rows left on freed pages, decoded like live rows and marked by state.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/record_fetch.h"
#include "records/row_states.h"

namespace records {

struct RecoveredRecord {
  RowState state = RowState::kDeleted;
  int32_t pageNumber = -1;
  int rowIndex = 0;
  TypedRecord values;  // one per column of table.columns, in that order
};

// Every deleted and free-space row of the table in walk order (live pages, then freed pages), as
// typed values. Uses g_rowFields and the table's page buffer, like FetchRecords; counts (may be null) receives
// what the walk saw. Stops early, with what it has, when the abort flag is raised.
std::vector<RecoveredRecord> ReadRecoveredRecords(analysis::MdbRecovery& recovery, analysis::Table& table,
                                                  RowStateCounts* counts = nullptr);

}  // namespace records
