// The table definition (tdef) a table's pages are found through, built as one byte stream
// and written over a first page and as many continuation pages as it needs.
//
//  off | size | field
//  ----+------+--------------------------------------------------------------
//   00 |  2   | 02 01
//   02 |  2   | free = 4096 - bytes used on this page - 8 (0 on a full page)
//   04 |  4   | next (continuation) page, 0 = last; a continuation page repeats
//      |      | this 8-byte header and carries the stream on from its byte 8
//   08 |  4   | definition length: stream bytes through the final FF FF
//   0C |  4   | 1625
//   10 |  4   | row count
//   14 |  4   | last autonumber handed out
//   18 |  1   | 1
//   28 |  1   | table type: 0x4E user, 0x53 system
//   29 |  2   | columns ever; 2B | 2 | variable columns; 2D | 2 | columns now
//   2F |  4   | logical indexes; 33 | 4 | real indexes
//   37 |  4   | owned-pages map (row pointer); 3B | 4 | free-space map
//   3F | 12ea | per real index: u32 0, u32 distinct keys, u32 0
//  then column descriptors (25 bytes), column names (u16 length + UTF-16LE), real indexes
//  (52 bytes), logical indexes (28 bytes), index names, one {u16 column, owned map, free map}
//  per MEMO/OLE column, FF FF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet4/table_schema.h"

namespace jet4 {

class PageFile;

struct IndexState {
  uint32_t map = 0;  // row pointer of the index's usage map
  uint32_t rootPage = 0;
  uint32_t distinctKeys = 0;
};

struct LongValueMaps {
  uint32_t owned = 0;
  uint32_t free = 0;
};

struct TableState {
  uint32_t rowCount = 0;
  uint32_t lastAutoNumber = 0;
  uint32_t ownedMap = 0;
  uint32_t freeMap = 0;
  std::vector<IndexState> indexes;           // one per index of the table
  std::vector<LongValueMaps> longValueMaps;  // one per MEMO/OLE column, in column order
};

// The whole definition stream, header included.
std::string BuildTableDefinition(const TableDef& table, const TableState& state);

// Writes the stream on firstPage and continuation pages it allocates.
void WriteTableDefinition(PageFile& file, uint32_t firstPage, const std::string& stream);

}  // namespace jet4
