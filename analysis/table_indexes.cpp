// Index blocks of a table definition.
#include "analysis/table_indexes.h"

#include <algorithm>

#include "analysis/stored_names.h"

namespace analysis {

namespace {
constexpr int64_t kRealIndexSize = 52;
constexpr int64_t kLogicalIndexSize = 28;
constexpr int kKeyColumnSlots = 10;
constexpr uint16_t kUnusedSlot = 0xFFFF;
constexpr uint8_t kUniqueFlag = 0x01;
// A definition fills at most a few continuation pages; counts beyond this are damage.
constexpr uint32_t kMostIndexes = 1000;

struct RealIndex {
  std::vector<int32_t> columnNumbers;
  bool unique = false;
  bool valid = false;
};

const Column* columnByNumber(const Table& table, int32_t number) {
  for (const Column& column : table.columns)
    if (column.columnNumber == number) return &column;
  return nullptr;
}

RealIndex readRealIndex(support::ByteView entry, const Table& table) {
  RealIndex index;
  if (entry.empty()) return index;
  for (int slot = 0; slot < kKeyColumnSlots; ++slot) {
    const uint16_t number = entry.u16(4 + 3 * slot);
    if (number == kUnusedSlot) continue;
    const bool repeated =
        std::find(index.columnNumbers.begin(), index.columnNumbers.end(), number) != index.columnNumbers.end();
    if (repeated || columnByNumber(table, number) == nullptr) return index;
    index.columnNumbers.push_back(number);
  }
  index.unique = (entry.u8(46) & kUniqueFlag) != 0;
  index.valid = !index.columnNumbers.empty();
  return index;
}
}  // namespace

void DecodeTableIndexes(support::ByteView definition, int64_t at, uint32_t realIndexCount, uint32_t logicalIndexCount,
                        Table& table) {
  table.indexes.clear();
  if (realIndexCount > kMostIndexes || logicalIndexCount > kMostIndexes) return;
  std::vector<RealIndex> realIndexes;
  for (uint32_t i = 0; i < realIndexCount; ++i)
    realIndexes.push_back(readRealIndex(definition.slice(at + kRealIndexSize * i, kRealIndexSize), table));
  const int64_t logicalStart = at + kRealIndexSize * realIndexCount;
  int64_t nameAt = logicalStart + kLogicalIndexSize * logicalIndexCount;
  for (uint32_t i = 0; i < logicalIndexCount; ++i) {
    const support::ByteView entry = definition.slice(logicalStart + kLogicalIndexSize * i, kLogicalIndexSize);
    const uint16_t nameBytes = definition.u16(nameAt);
    const support::ByteView storedName = definition.slice(nameAt + 2, nameBytes);
    nameAt += 2 + static_cast<int64_t>(nameBytes);
    if (entry.empty()) break;
    const uint32_t real = entry.u32(8);
    if (real >= realIndexes.size() || !realIndexes[real].valid) continue;
    TableIndex index;
    index.name = CleanStoredName(DecodeStoredName(storedName));
    index.columnNumbers = realIndexes[real].columnNumbers;
    index.unique = realIndexes[real].unique;
    index.kind = entry.u8(23);
    table.indexes.push_back(std::move(index));
  }
}

std::vector<const Column*> IndexColumns(const Table& table, const TableIndex& index) {
  std::vector<const Column*> columns;
  for (int32_t number : index.columnNumbers)
    if (const Column* column = columnByNumber(table, number)) columns.push_back(column);
  return columns;
}

std::vector<size_t> PrimaryKeyColumns(const Table& table) {
  for (const TableIndex& index : table.indexes) {
    if (index.kind != TableIndex::kPrimaryKey) continue;
    const std::vector<const Column*> columns = IndexColumns(table, index);
    if (columns.size() != index.columnNumbers.size()) continue;
    std::vector<size_t> positions;
    for (const Column* column : columns) positions.push_back(static_cast<size_t>(column - table.columns.data()));
    return positions;
  }
  return {};
}

}  // namespace analysis
