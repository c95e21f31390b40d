// The row consistency check: the counts, the trailer and the offsets of one row's bytes, each
// measured against the row and against what the table definition allows.
#include "records/row_check.h"

#include <algorithm>

#include "records/row_layout.h"
#include "records/type_names.h"

namespace records {

namespace {
constexpr int64_t kFirstValue = 2;  // the column count comes first

struct VariableLimits {
  bool present = false;  // rows of tables without variable columns have no variable trailer
  int64_t slots = 0;     // the most slots a row of the table can hold
  int64_t needed = 0;    // slots every row holding column numbers below N must have
};

VariableLimits variableLimits(const analysis::Table& table, int64_t columnCount) {
  VariableLimits limits;
  limits.slots = table.variableColumnCount;
  for (const analysis::Column& column : table.columns) {
    if (column.isFixed) continue;
    limits.present = true;
    limits.slots = std::max<int64_t>(limits.slots, int64_t{column.variableIndex} + 1);
    if (column.columnNumber >= 0 && column.columnNumber < columnCount)
      limits.needed = std::max<int64_t>(limits.needed, int64_t{column.variableIndex} + 1);
  }
  return limits;
}

// Mask bits for column numbers at or above N are never set by a writer.
bool maskPaddingClear(support::ByteView row, int64_t columnCount) {
  const int usedBits = static_cast<int>(columnCount % 8);
  if (usedBits == 0) return true;
  const uint8_t last = row.u8(static_cast<int64_t>(row.size()) - 1);
  return (last >> usedBits) == 0;
}

bool fixedAreaFits(const analysis::Table& table, int64_t columnCount, int64_t fixedEnd) {
  for (const analysis::Column& column : table.columns) {
    if (!column.isFixed || column.type == kTypeBit || column.columnNumber >= columnCount) continue;
    if (column.fixedOffset < 0 || kFirstValue + column.fixedOffset + column.length > fixedEnd) return false;
  }
  return true;
}
}  // namespace

RowFault CheckRow(const analysis::Table& table, support::ByteView row) {
  const int64_t size = static_cast<int64_t>(row.size());
  if (size == 0) return RowFault::kEmpty;
  const int64_t columnCount = row.u16(0);
  if (size < kFirstValue || columnCount == 0 || columnCount > int64_t{table.maxColumns} || columnCount > kMaxRowColumns)
    return RowFault::kColumnCount;
  const int64_t maskStart = size - ((columnCount - 1) / 8 + 1);
  if (maskStart < kFirstValue || !maskPaddingClear(row, columnCount)) return RowFault::kNullMask;

  const VariableLimits limits = variableLimits(table, columnCount);
  if (!limits.present) return fixedAreaFits(table, columnCount, maskStart) ? RowFault::kNone : RowFault::kFixedArea;

  const int64_t countAt = maskStart - 2;
  if (countAt < kFirstValue) return RowFault::kVariableCount;
  const int64_t variableCount = row.u16(countAt);
  if (variableCount > columnCount || variableCount > limits.slots || variableCount < limits.needed)
    return RowFault::kVariableCount;
  if (variableCount == 0) return fixedAreaFits(table, columnCount, countAt) ? RowFault::kNone : RowFault::kFixedArea;

  // End of data below the offsets, slot k's start at countAt - 2 - 2k: all inside the data part.
  const int64_t dataEndAt = countAt - 2 - 2 * variableCount;
  if (dataEndAt < kFirstValue) return RowFault::kVariableCount;
  int64_t previous = kFirstValue;
  for (int64_t k = 0; k <= variableCount; ++k) {
    const int64_t offset = row.u16(k == variableCount ? dataEndAt : countAt - 2 - 2 * k);
    if (offset < previous || offset > dataEndAt) return RowFault::kVariableOffsets;
    previous = offset;
  }
  const int64_t fixedEnd = row.u16(countAt - 2);
  return fixedAreaFits(table, columnCount, fixedEnd) ? RowFault::kNone : RowFault::kFixedArea;
}

const char* RowFaultName(RowFault fault) {
  switch (fault) {
    case RowFault::kNone: return "consistent";
    case RowFault::kEmpty: return "empty";
    case RowFault::kColumnCount: return "column count";
    case RowFault::kNullMask: return "null mask";
    case RowFault::kVariableCount: return "variable count";
    case RowFault::kVariableOffsets: return "variable offsets";
    case RowFault::kFixedArea: return "fixed area";
  }
  return "unknown";
}

}  // namespace records
