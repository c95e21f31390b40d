// Where a row and its parts lie on a data page (the row table: format/row_entries.h).
//
// Row (s = first byte, e = last byte, both page offsets; offsets stored in the row count from s):
//   s                  2    column count N
//   s + 2 ...               fixed-length values, each at s + 2 + its column's fixedOffset
//   ...                     variable-length values, in variable-index order
//   e - M - 3 - 2V     2    end of the variable data D (only when V > 0)
//   e - M - 3 - 2k     2    start of variable value k, k = 0 ... V - 1
//   e - M - 1          2    variable value count V
//   e - M + 1 ... e    M    null mask, M = (N - 1) / 8 + 1; bit c: column number c is present
#pragma once

#include <cstdint>

#include "analysis/model.h"
#include "format/row_entries.h"
#include "support/byte_view.h"

namespace records {

using format::kRowDeletedFlag;
using format::kRowLookupFlag;
using format::ReadRowEntry;
using format::RowEntry;
using format::RowsOnPage;
constexpr int kMaxRowColumns = 256;

struct RowGeometry {
  int64_t start = 0;       // s
  int64_t end = 0;         // e
  int columnCount = 0;     // N
  int maskBytes = 0;       // M
  int variableCount = 0;   // V
  int64_t dataEnd = 0;     // D, relative to s
  int64_t fixedBound = 0;  // B: the last byte of the fixed-length values, relative to s

  bool present(support::ByteView page, int32_t columnNumber) const;
  // Start of variable value k (relative to s); D for k = V.
  int64_t variableStart(support::ByteView page, int k) const;
};

// Checks the row's counts and offsets against the row and the table; false for a malformed row.
bool ReadRowGeometry(support::ByteView page, const analysis::Table& table, int64_t start, int64_t end,
                     RowGeometry& geometry);

}  // namespace records
