// Reading row entries.
#include "format/row_entries.h"

namespace format {

bool ReadRowEntry(support::ByteView page, int rowIndex, RowEntry& entry) {
  const int64_t position = kRowTableOffset + 2 * static_cast<int64_t>(rowIndex);
  if (rowIndex < 0 || !page.contains(position, 2)) return false;
  entry.raw = page.u16(position);
  entry.start = entry.raw & kRowOffsetMask;
  entry.end = rowIndex == 0 ? static_cast<int64_t>(page.size()) - 1 : (page.u16(position - 2) & kRowOffsetMask) - 1;
  return true;
}

int RowsOnPage(support::ByteView page) {
  const int64_t stored = page.u16(kRowCountOffset);
  const int64_t fitting = page.size() > kRowTableOffset ? (static_cast<int64_t>(page.size()) - kRowTableOffset) / 2 : 0;
  return static_cast<int>(stored < fitting ? stored : fitting);
}

}  // namespace format
