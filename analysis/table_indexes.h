// The indexes a table definition declares after its column names: real indexes (the stored
// key layouts) and logical indexes (the named indexes, each using one real index). Only what an
// export needs is kept: each logical index's name, key columns and kind.
//
//   real index (52 bytes):    0 u32 1923; 4 ten {u16 column number (FFFF unused), u8 order};
//                             46 u8 flags (0x01 unique)
//   logical index (28 bytes): 0 u32 1625; 4 u32 index number; 8 u32 real index used;
//                             23 u8 kind (0 normal, 1 primary key, 2 foreign key)
//   then one name per logical index: u16 byte count + UTF-16LE
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/model.h"
#include "support/byte_view.h"

namespace analysis {

// Reads the index blocks that start at `at` in the assembled definition into table.indexes.
// Entries that do not fit the definition, use a real index it does not have or name columns the
// table does not have are left out; a definition cut short keeps the indexes read before the cut.
void DecodeTableIndexes(support::ByteView definition, int64_t at, uint32_t realIndexCount, uint32_t logicalIndexCount,
                        Table& table);

// The index's key columns in key order; a column number the table lacks is left out.
std::vector<const Column*> IndexColumns(const Table& table, const TableIndex& index);

// Positions in table.columns of the primary key's columns in key order; empty when the table
// has no primary key.
std::vector<size_t> PrimaryKeyColumns(const Table& table);

}  // namespace analysis
