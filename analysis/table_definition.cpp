// Table definition decoding: the header, the column descriptors and the column names of an
// assembled definition (head page followed by the bodies of its continuation pages).
//
// Definition header (offsets in the assembled definition, from FormatLayout):
//   16  u32  rows                    -> rowCount
//   40  u8   table type              -> type (until the catalog gives its own)
//   41  u16  maximum columns         -> maxColumns
//   43  u16  variable-length columns -> variableColumnCount
//   45  u16  columns                 -> columnCount
//   47  u32  logical indexes         named indexes, read from after the column names
//   51  u32  real indexes            12 bytes each from 63; the column descriptors follow them
//   55  u8 / 56 u24  used-pages map pointer (splits the owned pages into live and freed)
//   59  u8 / 60 u24  free-pages map pointer (read, not kept)
// Then columnCount descriptors of 25 bytes, then the column names in descriptor order, each
// a u16 byte count followed by that many bytes of UTF-16LE, then the index blocks.
//
// Column descriptor (25 bytes):
//    0  u8   type code             11  u8   precision (NUMERIC)   21  u16  fixed offset
//    5  u16  column number         12  u8   scale (NUMERIC)       23  u16  length in bytes
//    7  u16  variable index        15  u8   flags, 0x01 fixed, 0x04 autonumber
//    9  u16  row column number     16  u8   extra flags, 0xC0 calculated
//   11  u32  complex id (type 18)
#include <algorithm>
#include <cstdio>

#include "analysis/mdb_recovery.h"
#include "analysis/stored_names.h"
#include "analysis/table_indexes.h"
#include "analysis/table_pages.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr int32_t kTypeNumeric = 16;
constexpr int32_t kTypeComplex = 18;
constexpr int64_t kDescriptorsStart = 63;

void readHeader(support::ByteView definition, const FormatLayout& layout, Table& table) {
  table.rowCount = definition.u32(layout.tdefRowCountOffset);
  table.type = definition.u8(layout.tableTypeOffset);
  table.maxColumns = definition.u16(layout.maxColumnsOffset);
  table.variableColumnCount = definition.u16(layout.variableColumnsOffset);
  table.columnCount = definition.u16(layout.columnCountOffset);
}

// Names follow the descriptors; a name whose bytes run past the definition is cut at its end.
// Returns where the names end (the index blocks start there).
int64_t readColumnNames(support::ByteView definition, int64_t namesStart, std::vector<Column>& columns) {
  int64_t at = namesStart;
  for (Column& column : columns) {
    const uint16_t byteCount = definition.u16(at);
    support::ByteView stored = definition.from(at + 2);
    column.name = DecodeStoredName(stored.slice(0, std::min<int64_t>(byteCount, stored.size())));
    at += 2 + static_cast<int64_t>(byteCount);
  }
  return at;
}

void nameColumns(std::vector<Column>& columns) {
  int unnamed = 0;
  for (Column& column : columns) {
    if (!column.name.empty()) {
      column.name = CleanColumnName(column.name);
      continue;
    }
    char name[40];
    std::snprintf(name, sizeof name, "Recovered Column %d", ++unnamed);
    column.name = name;
  }
}
}  // namespace

// Returns 1, or -1 (nothing appended) when the format is not the detected one or the
// descriptor does not lie wholly inside the buffer.
int MdbRecovery::DecodeColumnEntry(const std::vector<uint8_t>& pageBuffer, Table& table, int32_t offset) {
  if (format != kStorageFormat4) return -1;
  support::ByteView descriptor = support::ByteView(pageBuffer).slice(offset, layout.columnEntrySize);
  if (descriptor.empty()) return -1;
  Column column;
  column.type = descriptor.u8(0);
  column.columnNumber = descriptor.u16(5);
  column.variableIndex = descriptor.u16(7);
  column.rowColumnNumber = descriptor.u16(9);
  if (column.type == kTypeNumeric) {
    column.precision = descriptor.u8(11);
    column.scale = descriptor.u8(12);
  }
  if (column.type == kTypeComplex) column.complexId = descriptor.i32(11);
  column.extFlags = descriptor.u8(16);
  column.isFixed = (descriptor.u8(15) & 0x01) != 0;
  column.isAutoNumber = (descriptor.u8(15) & 0x04) != 0;
  column.fixedOffset = descriptor.u16(21);
  // The whole 16-bit length: a fixed-length text value longer than 255 bytes is read whole.
  column.length = descriptor.u16(23);
  table.columns.push_back(column);
  return 1;
}

int MdbRecovery::DecodeTableDefinition(const std::vector<uint8_t>& definition, Table& table) {
  const support::ByteView bytes(definition);
  readHeader(bytes, layout, table);
  if (table.columnCount == 0) return 0;
  // A negative count would put the descriptors inside the header.
  const int64_t realIndexCount = bytes.i32(layout.realIndexCountOffset);
  if (realIndexCount < 0) return 0;
  const int64_t start = kDescriptorsStart + static_cast<int64_t>(layout.realIndexEntrySize) * realIndexCount;
  if (start < 0 || start > kPageSize) return 0;

  table.columns.clear();
  table.indexes.clear();
  // Descriptors cut off by a short definition (a lost continuation page) are not invented.
  for (uint32_t i = 0; i < table.columnCount; ++i) {
    if (DecodeColumnEntry(definition, table, static_cast<int32_t>(start + layout.columnEntrySize * int64_t{i})) < 0)
      break;
  }
  if (table.columns.empty()) return 0;
  const uint32_t declaredColumns = table.columnCount;
  const int64_t namesStart = start + layout.columnEntrySize * static_cast<int64_t>(table.columnCount);
  table.columnCount = static_cast<uint32_t>(table.columns.size());
  const int64_t indexesStart = readColumnNames(bytes, namesStart, table.columns);
  nameColumns(table.columns);
  MakeColumnNamesUnique(table.columns);
  // Only a definition with every descriptor names its index columns reliably.
  if (table.columns.size() == declaredColumns)
    DecodeTableIndexes(bytes, indexesStart, static_cast<uint32_t>(realIndexCount), bytes.u32(layout.indexCountOffset),
                       table);

  AssignTablePages(*this, bytes, table);
  return 1;
}

}  // namespace analysis
