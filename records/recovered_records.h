// The rows a table no longer shows as records but the file still holds: deleted rows whose
// bytes are whole and rows left on freed pages, decoded like live rows and marked by state.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/row_states.h"

namespace records {

struct RecoveredRecord {
  RowState state = RowState::kDeleted;
  int32_t pageNumber = -1;
  int rowIndex = 0;
  std::string text;  // a row text: every column's value followed by the field separator
};

// Every deleted and free-space row of the table in walk order (live pages, then freed pages).
// Uses g_rowFields and the table's page buffer, like FetchRecords; counts (may be null) receives
// what the walk saw. Stops early, with what it has, when the abort flag is raised.
std::vector<RecoveredRecord> ReadRecoveredRecords(analysis::MdbRecovery& recovery, analysis::Table& table,
                                                  RowStateCounts* counts = nullptr);

}  // namespace records
