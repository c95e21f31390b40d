// Decoding the recovered rows of a table into row texts.
#include "records/recovered_records.h"

#include "records/row_decoder.h"

namespace records {

std::vector<RecoveredRecord> ReadRecoveredRecords(analysis::MdbRecovery& recovery, analysis::Table& table,
                                                  RowStateCounts* counts) {
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  std::vector<RecoveredRecord> recovered;
  const RowStateCounts seen = WalkRowStates(recovery, table, [&](const RecoveredRow& row) {
    if (DecodeRowValues(recovery, table, row.start, row.end) <= 0) return !recovery.Channel().aborted();
    RecoveredRecord record{row.state, row.pageNumber, row.rowIndex, {}};
    for (const analysis::Column& column : table.columns) {
      const auto number = static_cast<size_t>(column.columnNumber);
      record.values.push_back(column.columnNumber >= 0 && number < analysis::g_rowFields.size()
                                  ? analysis::g_rowFields[number].value
                                  : support::Value{});
    }
    recovered.push_back(std::move(record));
    return !recovery.Channel().aborted();
  });
  if (counts != nullptr) *counts = seen;
  return recovered;
}

}  // namespace records
