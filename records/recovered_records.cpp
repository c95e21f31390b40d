// Decoding the recovered rows of a table into row texts.
#include "records/recovered_records.h"

#include "records/row_decoder.h"

namespace records {

std::vector<RecoveredRecord> ReadRecoveredRecords(analysis::MdbRecovery& recovery, analysis::Table& table,
                                                  RowStateCounts* counts) {
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  std::vector<RecoveredRecord> recovered;
  const RowStateCounts seen = WalkRowStates(recovery, table, [&](const RecoveredRow& row) {
    RecoveredRecord record{row.state, row.pageNumber, row.rowIndex, {}};
    if (DecodeRow(recovery, table, row.start, row.end, record.text) > 0) recovered.push_back(std::move(record));
    return !recovery.Channel().aborted();
  });
  if (counts != nullptr) *counts = seen;
  return recovered;
}

}  // namespace records
