// The shape of one stored row read from its own bytes, without the table's definition: column
// count, null mask, variable slots and where the fixed area ends. Layout inference reads rows
// this way, and the check that a row fits a layout (inferred or borrowed) starts from it.
//
// Row (offsets from its first byte; L = its length):
//   0                2   column count N
//   2 ...                fixed area, then the variable values
//   L - M - 4 - 2V   2   end of the variable data (only when V > 0)
//   L - M - 4 - 2k   2   start of variable slot k
//   L - M - 2        2   variable slot count V (only in tables with variable columns)
//   L - M ... L - 1  M   null mask, M = (N - 1) / 8 + 1; bit c set: column number c present
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/model.h"
#include "support/byte_view.h"

namespace analysis {

constexpr int kMaxStoredColumns = 256;
constexpr uint32_t kLongValueInline = 0x80000000u;
constexpr uint32_t kLongValueLengthMask = 0x3FFFFFFFu;
constexpr int64_t kLongValueReferenceSize = 12;

struct RowShape {
  int columnCount = 0;              // N
  int maskBytes = 0;                // M
  int64_t maskStart = 0;            // L - M
  int variableCount = 0;            // V (0 without a variable area)
  int64_t fixedAreaSize = 0;        // bytes between the column count and the first variable value
  std::vector<int64_t> slotStarts;  // V + 1 entries: slot k is [slotStarts[k], slotStarts[k + 1])

  bool present(support::ByteView row, int columnNumber) const;
  support::ByteView slot(support::ByteView row, int k) const;
};

// Reads the row's counts and offsets; false when they do not fit inside the row (N of 0 or
// above 256, offsets outside the data, slots out of order).
bool ReadRowShape(support::ByteView row, bool withVariableArea, RowShape& shape);

// True when a row of this shape belongs to a table whose rows store at most columnCount columns
// and variableCount slots: the whole fixed area, or a shorter one in a row written before
// columns were added (it stores fewer columns).
bool ShapeFits(const RowShape& row, int columnCount, int variableCount, int64_t fixedAreaSize);

// The fixed area a table's fixed columns span (BIT columns take no bytes).
int64_t FixedAreaSpan(const Table& table);

// True when a row of a table whose definition is lost fits the layout the table was given:
// no more columns and slots than the layout, its fixed area (ShapeFits for an inferred layout;
// at least the columns' span for a borrowed definition, unless the row stores fewer columns),
// null columns without bytes, and long-value references and texts that have their form.
bool RowFitsLayout(support::ByteView row, const Table& table);

}  // namespace analysis
