// Row entries and row geometry, every offset checked against the row it belongs to.
#include "records/row_layout.h"

namespace records {

namespace {
constexpr int64_t kColumnCountSize = 2;

bool hasVariableColumns(const analysis::Table& table) {
  for (const auto& column : table.columns)
    if (!column.isFixed) return true;
  return false;
}
}  // namespace

bool RowGeometry::present(support::ByteView page, int32_t columnNumber) const {
  if (columnNumber < 0 || columnNumber >= columnCount) return false;
  const int64_t maskStart = end - maskBytes + 1;
  return (page.u8(maskStart + columnNumber / 8) >> (columnNumber % 8) & 1) != 0;
}

int64_t RowGeometry::variableStart(support::ByteView page, int k) const {
  if (k >= variableCount) return dataEnd;
  return page.u16(end - maskBytes - 3 - 2 * static_cast<int64_t>(k));
}

bool ReadRowGeometry(support::ByteView page, const analysis::Table& table, int64_t start, int64_t end,
                     RowGeometry& geometry) {
  if (start < 0 || end < start || !page.contains(start, end - start + 1)) return false;
  geometry = RowGeometry{};
  geometry.start = start;
  geometry.end = end;
  const int64_t columnCount = page.u16(start);
  if (columnCount > static_cast<int64_t>(table.maxColumns) || columnCount > kMaxRowColumns) return false;
  geometry.columnCount = static_cast<int>(columnCount);
  geometry.maskBytes = columnCount == 0 ? 1 : static_cast<int>((columnCount - 1) / 8 + 1);

  // Everything after the values (counts, offsets, mask) must lie inside the row, after N.
  const int64_t firstValue = start + kColumnCountSize;
  const int64_t maskStart = end - geometry.maskBytes + 1;
  if (maskStart < firstValue) return false;
  int64_t trailerStart = maskStart;  // first byte after the values
  if (hasVariableColumns(table)) {
    trailerStart = maskStart - 2;
    if (trailerStart < firstValue) return false;
    const int64_t variableCount = page.u16(trailerStart);
    if (variableCount > columnCount) return false;
    geometry.variableCount = static_cast<int>(variableCount);
    if (variableCount > 0) trailerStart -= 2 * (variableCount + 1);
    if (trailerStart < firstValue) return false;
  }

  if (geometry.variableCount > 0) {
    geometry.dataEnd = page.u16(trailerStart);
    if (geometry.dataEnd > trailerStart - start) return false;
    const int64_t firstVariable = geometry.variableStart(page, 0);
    geometry.fixedBound = firstVariable == 0 ? 0 : firstVariable - 1;
  } else {
    geometry.dataEnd = trailerStart - start;
    geometry.fixedBound = geometry.dataEnd == 0 ? 0 : geometry.dataEnd - 1;
  }
  return geometry.fixedBound <= geometry.dataEnd;
}

}  // namespace records
