// Row shapes read from the row's own bytes, every offset checked against the row.
#include "analysis/row_shape.h"

#include <algorithm>

namespace analysis {

namespace {
constexpr int kTypeBit = 1;
constexpr int kTypeText = 10;
constexpr int kTypeOle = 11;
constexpr int kTypeMemo = 12;

bool hasVariableColumns(const Table& table) {
  return std::any_of(table.columns.begin(), table.columns.end(), [](const Column& c) { return !c.isFixed; });
}

// A long-value reference: 12 bytes, followed by the value itself when it is stored inline.
bool isLongValueReference(support::ByteView value) {
  if (value.size() < kLongValueReferenceSize) return false;
  const uint32_t head = value.u32(0);
  if (head & kLongValueInline)
    return static_cast<int64_t>(value.size()) == kLongValueReferenceSize + (head & kLongValueLengthMask);
  return static_cast<int64_t>(value.size()) == kLongValueReferenceSize;
}

bool isTextValue(support::ByteView value) {
  return value.size() % 2 == 0 || (value.u8(0) == 0xFF && value.u8(1) == 0xFE);
}
}  // namespace

bool RowShape::present(support::ByteView row, int columnNumber) const {
  if (columnNumber < 0 || columnNumber >= columnCount) return false;
  return (row.u8(maskStart + columnNumber / 8) >> (columnNumber % 8) & 1) != 0;
}

support::ByteView RowShape::slot(support::ByteView row, int k) const {
  if (k < 0 || k >= variableCount) return {};
  return row.slice(slotStarts[static_cast<size_t>(k)],
                   slotStarts[static_cast<size_t>(k) + 1] - slotStarts[static_cast<size_t>(k)]);
}

bool ReadRowShape(support::ByteView row, bool withVariableArea, RowShape& shape) {
  shape = RowShape{};
  const int64_t length = static_cast<int64_t>(row.size());
  if (length < 3) return false;
  shape.columnCount = row.u16(0);
  if (shape.columnCount == 0 || shape.columnCount > kMaxStoredColumns) return false;
  shape.maskBytes = (shape.columnCount - 1) / 8 + 1;
  shape.maskStart = length - shape.maskBytes;
  if (shape.maskStart < 2) return false;
  if (!withVariableArea) {
    shape.fixedAreaSize = shape.maskStart - 2;
    return true;
  }
  const int64_t countAt = shape.maskStart - 2;
  if (countAt < 2) return false;
  shape.variableCount = row.u16(countAt);
  if (shape.variableCount > shape.columnCount) return false;
  if (shape.variableCount == 0) {
    shape.fixedAreaSize = countAt - 2;
    return true;
  }
  const int64_t endAt = countAt - 2 - 2 * static_cast<int64_t>(shape.variableCount);
  if (endAt < 2) return false;
  shape.slotStarts.resize(static_cast<size_t>(shape.variableCount) + 1);
  for (int k = 0; k < shape.variableCount; ++k) shape.slotStarts[static_cast<size_t>(k)] = row.u16(countAt - 2 - 2 * k);
  shape.slotStarts.back() = row.u16(endAt);
  if (shape.slotStarts.front() < 2 || shape.slotStarts.back() > endAt) return false;
  for (size_t k = 1; k < shape.slotStarts.size(); ++k)
    if (shape.slotStarts[k] < shape.slotStarts[k - 1]) return false;
  shape.fixedAreaSize = shape.slotStarts.front() - 2;
  return true;
}

int64_t FixedAreaSpan(const Table& table) {
  int64_t span = 0;
  for (const Column& column : table.columns)
    if (column.isFixed && column.type != kTypeBit && column.fixedOffset >= 0)
      span = std::max<int64_t>(span, int64_t{column.fixedOffset} + column.length);
  return span;
}

bool ShapeFits(const RowShape& row, int columnCount, int variableCount, int64_t fixedAreaSize) {
  if (row.columnCount > columnCount || row.variableCount > variableCount) return false;
  return row.fixedAreaSize == fixedAreaSize || (row.columnCount < columnCount && row.fixedAreaSize < fixedAreaSize);
}

bool RowFitsLayout(support::ByteView row, const Table& table) {
  RowShape shape;
  const bool variableArea = hasVariableColumns(table);
  if (!ReadRowShape(row, variableArea, shape)) return false;
  const int columns = static_cast<int>(std::min<uint32_t>(table.maxColumns, kMaxStoredColumns));
  const int slots =
      variableArea ? static_cast<int>(std::min<uint32_t>(table.variableColumnCount, kMaxStoredColumns)) : 0;
  if (table.layoutSource == "rows") {
    if (!ShapeFits(shape, columns, slots, table.fixedAreaSize)) return false;
  } else {
    if (shape.columnCount > columns || shape.variableCount > slots) return false;
    if (shape.columnCount == columns && shape.fixedAreaSize < FixedAreaSpan(table)) return false;
  }
  for (const Column& column : table.columns) {
    if (column.isFixed) continue;
    const support::ByteView value = shape.slot(row, column.variableIndex);
    if (value.empty()) continue;
    if (!shape.present(row, column.columnNumber)) return false;  // a null value has no bytes
    if ((column.type == kTypeMemo || column.type == kTypeOle) && !isLongValueReference(value)) return false;
    if (column.type == kTypeText && !isTextValue(value)) return false;
  }
  return true;
}

}  // namespace analysis
