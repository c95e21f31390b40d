// Whether a row's bytes form a consistent row of a table: used to tell a recoverable deleted or
// stale row from bytes that were partly overwritten, and to test rows against a guessed table.
//
// Checked, on the row's own bytes (offsets from the row's first byte, e = its last byte):
//   column count N      1 <= N <= the table's maximum column count (and <= 256)
//   null mask           ceil(N / 8) bytes at the row's end; bits above N - 1 clear
//   variable count V    (tables with variable columns) V <= N, V <= the table's variable slots,
//                       and large enough for every variable column numbered below N
//   offsets             end of data and every variable start between the fixed area and the
//                       offset table, in non-decreasing order
//   fixed area          every fixed column numbered below N ends before the variable data
#pragma once

#include <cstdint>

#include "analysis/model.h"
#include "support/byte_view.h"

namespace records {

enum class RowFault : uint8_t {
  kNone,             // consistent
  kEmpty,            // no bytes (an emptied entry)
  kColumnCount,      // N is 0 or larger than the table allows
  kNullMask,         // the mask does not fit, or has bits set above column N - 1
  kVariableCount,    // V missing, larger than N or the table's slots, or too small
  kVariableOffsets,  // an offset outside the row's data or out of order
  kFixedArea,        // a fixed value runs into the variable data or the trailer
};

// Checks the row bytes against the table's definition (maxColumns, variableColumnCount,
// columns). Never reads outside row.
[[nodiscard]] RowFault CheckRow(const analysis::Table& table, support::ByteView row);

// "empty", "column count", ...: a short name for logs and counts.
const char* RowFaultName(RowFault fault);

}  // namespace records
