// Encoding a table definition.
#include "jet4/table_definition.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

#include "engine/engine.h"
#include "format/text_codec.h"
#include "jet4/index_keys.h"
#include "jet4/page_file.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr size_t kHeaderSize = 0x3F;
constexpr size_t kIndexColumnSlots = 10;
constexpr uint16_t kLcidGeneral = 0x0409;
constexpr uint8_t kCascadeDefault = 4;  // what the engine writes for indexes without a relation

class Stream {
 public:
  void u8(uint8_t v) { bytes_ += static_cast<char>(v); }
  void u16(uint32_t v) {
    u8(static_cast<uint8_t>(v & 0xFF));
    u8(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void zeros(size_t n) { bytes_.append(n, '\0'); }
  void name(const std::string& utf8) {
    const std::string encoded = format::Utf16LeBytes(format::Utf8ToUtf16(utf8));
    u16(static_cast<uint32_t>(encoded.size()));
    bytes_ += encoded;
  }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

void appendColumn(Stream& out, const ColumnDef& column, uint16_t number, const TableLayout& layout) {
  out.u8(static_cast<uint8_t>(column.type));
  out.u32(kDefinitionMagic);
  out.u16(number);
  out.u16(static_cast<uint32_t>(layout.variableIndex[number]));
  out.u16(0);
  if (column.type == ColumnType::kNumeric) {
    out.u8(column.precision);
    out.u8(column.scale);
    out.u16(0);
  } else {
    out.u16(kLcidGeneral);
    out.u16(0);  // byte 0x0E: sort version 0
  }
  out.u8(column.flags);
  out.u8(column.extFlags);
  out.u32(0);
  out.u16(column.isFixed() ? static_cast<uint32_t>(layout.fixedOffset[number]) : 0);
  out.u16(column.length);
}

void appendRealIndex(Stream& out, const IndexDef& index, const IndexState& state) {
  out.u32(kRealIndexMagic);
  for (size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
    if (slot < index.columns.size()) {
      out.u16(index.columns[slot]);
      out.u8(1);  // ascending
    } else {
      out.u16(0xFFFF);
      out.u8(0);
    }
  }
  out.u32(state.map);
  out.u32(state.rootPage);
  out.u32(0);
  out.u8(index.flags);
  out.zeros(5);
}

void appendLogicalIndex(Stream& out, const IndexDef& index, uint32_t number) {
  out.u32(kDefinitionMagic);
  out.u32(number);
  out.u32(number);  // each logical index has a real index of its own
  out.u8(0);
  out.u32(0xFFFFFFFF);  // no related index
  out.u32(0);
  out.u8(kCascadeDefault);
  out.u8(kCascadeDefault);
  out.u8(static_cast<uint8_t>(index.kind));
  out.u32(0);
}
// Positions of the items sorted by their names in the General sort order (ties by position).
template <typename Item>
std::vector<uint16_t> NameOrder(const std::vector<Item>& items) {
  std::vector<std::string> keys;
  for (const Item& item : items) keys.push_back(TextSortKey(format::Utf8ToUtf16(item.name)));
  std::vector<uint16_t> order(items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) { return keys[a] < keys[b]; });
  return order;
}
}  // namespace

std::string BuildTableDefinition(const TableDef& table, const TableState& state) {
  const TableLayout layout = LayOut(table);
  const auto columnCount = static_cast<uint32_t>(table.columns.size());
  const auto indexCount = static_cast<uint32_t>(table.indexes.size());
  if (state.indexes.size() != table.indexes.size() ||
      state.longValueMaps.size() != static_cast<size_t>(layout.longValueCount))
    throw engine::EngineError("table definition state does not match its table");

  Stream out;
  out.zeros(kHeaderSize);
  std::string& bytes = out.bytes();
  Put32(bytes, 0x0C, kDefinitionMagic);
  Put32(bytes, 0x10, state.rowCount);
  Put32(bytes, 0x14, state.lastAutoNumber);
  bytes[0x18] = 1;
  bytes[0x28] = static_cast<char>(table.tableType);
  Put16(bytes, 0x29, columnCount);
  Put16(bytes, 0x2B, static_cast<uint32_t>(layout.variableCount));
  Put16(bytes, 0x2D, columnCount);
  Put32(bytes, 0x2F, indexCount);
  Put32(bytes, 0x33, indexCount);
  Put32(bytes, 0x37, state.ownedMap);
  Put32(bytes, 0x3B, state.freeMap);

  for (const IndexState& index : state.indexes) {
    out.u32(0);
    out.u32(index.distinctKeys);
    out.u32(0);
  }
  // Descriptors, their names and the long-value map entries are kept in the order of the
  // column names, as the engine keeps them; readers go by the column numbers.
  const std::vector<uint16_t> columnOrder = NameOrder(table.columns);
  for (uint16_t number : columnOrder) appendColumn(out, table.columns[number], number, layout);
  for (uint16_t number : columnOrder) out.name(table.columns[number].name);
  for (uint32_t i = 0; i < indexCount; ++i) appendRealIndex(out, table.indexes[i], state.indexes[i]);
  // Logical indexes are kept in name order, as the engine keeps them.
  for (uint16_t i : NameOrder(table.indexes)) appendLogicalIndex(out, table.indexes[i], i);
  for (uint16_t i : NameOrder(table.indexes)) out.name(table.indexes[i].name);
  // state.longValueMaps follows the column numbers.
  std::vector<size_t> longValueOf(columnCount, 0);
  for (size_t number = 0, k = 0; number < columnCount; ++number)
    if (table.columns[number].isLongValue()) longValueOf[number] = k++;
  for (uint16_t number : columnOrder) {
    if (!table.columns[number].isLongValue()) continue;
    out.u16(number);
    out.u32(state.longValueMaps[longValueOf[number]].owned);
    out.u32(state.longValueMaps[longValueOf[number]].free);
  }
  out.u16(0xFFFF);
  Put32(bytes, 0x08, static_cast<uint32_t>(bytes.size()));
  return std::move(bytes);
}

void WriteTableDefinition(PageFile& file, uint32_t firstPage, const std::string& stream) {
  constexpr size_t kPageHeader = 8;
  std::array<uint8_t, kPageSize> page{};
  size_t offset = 0;
  uint32_t number = firstPage;
  bool first = true;
  while (true) {
    page.fill(0);
    const size_t start = first ? 0 : kPageHeader;
    const size_t chunk = std::min(stream.size() - offset, kPageSize - start);
    std::memcpy(&page[start], stream.data() + offset, chunk);
    offset += chunk;
    const size_t used = start + chunk;
    const uint32_t next = offset < stream.size() ? file.allocate() : 0;
    page[0] = kPageTableDefinition;
    page[1] = 0x01;
    Put16(&page[2], used + kPageHeader >= kPageSize ? 0 : static_cast<uint32_t>(kPageSize - used - kPageHeader));
    Put32(&page[4], next);
    file.write(number, page.data());
    if (next == 0) break;
    number = next;
    first = false;
  }
}

}  // namespace jet4
