// The row walk over a table's data pages for tables read in full, and value placement by fixed
// offset and variable index (the row decoder's rules).
#include "records/table_scan.h"

#include <vector>

namespace records {

bool ScannedRow::value(const analysis::Column& column, support::ByteView& bytes) const {
  bytes = support::ByteView();
  if (!geometry.present(page, column.columnNumber)) return false;
  if (column.isFixed) {
    if (column.type == 1) return true;  // BIT: the presence bit is the value
    const int64_t start = 2 + static_cast<int64_t>(column.fixedOffset);
    if (column.fixedOffset < 0 || column.length <= 0 || start + column.length - 1 > geometry.fixedBound) return false;
    bytes = page.slice(geometry.start + start, column.length);
    return !bytes.empty();
  }
  const int k = column.variableIndex;
  if (k < 0 || k >= geometry.variableCount) return false;
  const int64_t start = geometry.variableStart(page, k);
  const int64_t end = geometry.variableStart(page, k + 1);
  if (start <= geometry.fixedBound || start >= geometry.dataEnd || end < start || end > geometry.dataEnd) return false;
  bytes = page.slice(geometry.start + start, end - start);
  return true;
}

void ScanTableRows(analysis::MdbRecovery& recovery, const analysis::Table& table,
                   const std::function<bool(const ScannedRow&)>& onRow) {
  std::vector<uint8_t> buffer(analysis::kPageSize);
  for (int32_t pageNumber : table.dataPages) {
    buffer.assign(analysis::kPageSize, 0);
    if (pageNumber < 0 || recovery.ReadPageByNumber(buffer.data(), static_cast<uint32_t>(pageNumber)) <= 0) continue;
    const support::ByteView page(buffer);
    const int rows = RowsOnPage(page);
    for (int r = 0; r < rows; ++r) {
      RowEntry entry;
      if (!ReadRowEntry(page, r, entry) || (entry.raw & kRowDeletedFlag)) continue;
      ScannedRow row{page, {}};
      if (!ReadRowGeometry(page, table, entry.start, entry.end, row.geometry)) continue;
      if (!onRow(row)) return;
    }
  }
}

const analysis::Column* FindColumn(const analysis::Table& table, const std::string& name) {
  for (const auto& column : table.columns)
    if (column.name == name) return &column;
  return nullptr;
}

}  // namespace records
