// Table definition and catalog row builders for tests.
#include "tests/support/definition_builder.h"

#include <algorithm>
#include <stdexcept>

#include "tests/support/page_builder.h"

namespace testsupport {

namespace {
void put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  if (out.size() < at + 2) out.resize(at + 2, 0);
  out[at] = value & 0xFF;
  out[at + 1] = (value >> 8) & 0xFF;
}
void put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  put16(out, at, value & 0xFFFF);
  put16(out, at + 2, value >> 16);
}
constexpr size_t kBodySize = kTestPageSize - 8;
}  // namespace

ColumnSpec Col(uint8_t type, uint16_t number, const std::string& name, uint16_t length) {
  ColumnSpec column;
  column.type = type;
  column.number = number;
  column.storedName = Utf16(name);
  column.length = length;
  return column;
}

DefinitionBuilder& DefinitionBuilder::rows(uint32_t count) {
  rows_ = count;
  return *this;
}
DefinitionBuilder& DefinitionBuilder::tableType(uint8_t type) {
  tableType_ = type;
  return *this;
}
DefinitionBuilder& DefinitionBuilder::realIndexes(uint32_t count) {
  realIndexes_ = count;
  return *this;
}
DefinitionBuilder& DefinitionBuilder::columnCount(uint16_t count) {
  columnCount_ = count;
  return *this;
}
DefinitionBuilder& DefinitionBuilder::column(const ColumnSpec& column) {
  columns_.push_back(column);
  return *this;
}

DefinitionBuilder& DefinitionBuilder::index(const IndexSpec& index) {
  indexes_.push_back(index);
  realIndexes_ = static_cast<uint32_t>(indexes_.size());
  return *this;
}

void DefinitionBuilder::appendIndexes(std::vector<uint8_t>& out) const {
  for (const auto& index : indexes_) {
    const size_t at = out.size();
    out.resize(at + 52, 0);
    put32(out, at, 1923);
    for (size_t slot = 0; slot < 10; ++slot) {
      put16(out, at + 4 + 3 * slot, slot < index.columnNumbers.size() ? index.columnNumbers[slot] : 0xFFFF);
      out[at + 6 + 3 * slot] = 1;
    }
    out[at + 46] = index.flags;
  }
  for (size_t i = 0; i < indexes_.size(); ++i) {
    const size_t at = out.size();
    out.resize(at + 28, 0);
    put32(out, at, 1625);
    put32(out, at + 4, static_cast<uint32_t>(i));
    put32(out, at + 8, indexes_[i].realIndex == UINT32_MAX ? static_cast<uint32_t>(i) : indexes_[i].realIndex);
    out[at + 23] = indexes_[i].kind;
  }
  for (const auto& index : indexes_) {
    const std::vector<uint8_t> name = Utf16(index.name);
    put16(out, out.size(), static_cast<uint16_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
  }
}

std::vector<uint8_t> DefinitionBuilder::bytes() const {
  std::vector<uint8_t> out(63 + 12 * static_cast<size_t>(realIndexes_), 0);
  out[0] = 0x02;
  out[1] = 0x01;
  put32(out, 12, 0x659);
  put32(out, 16, rows_);
  out[24] = 1;
  out[40] = tableType_;
  uint16_t variable = 0;
  for (const auto& c : columns_) variable += c.fixed ? 0 : 1;
  const uint16_t count =
      columnCount_ >= 0 ? static_cast<uint16_t>(columnCount_) : static_cast<uint16_t>(columns_.size());
  put16(out, 41, static_cast<uint16_t>(columns_.size()));
  put16(out, 43, variable);
  put16(out, 45, count);
  put32(out, 47, realIndexes_);
  put32(out, 51, realIndexes_);
  for (const auto& c : columns_) {
    const size_t at = out.size();
    out.resize(at + 25, 0);
    out[at] = c.type;
    put32(out, at + 1, 0x659);
    put16(out, at + 5, c.number);
    put16(out, at + 7, c.variableIndex);
    put16(out, at + 9, c.rowColumnNumber);
    out[at + 11] = c.precision;
    out[at + 12] = c.scale;
    out[at + 15] = static_cast<uint8_t>((c.fixed ? 0x01 : 0x00) | 0x02 | (c.autoNumber ? 0x04 : 0x00));
    put16(out, at + 21, c.fixedOffset);
    put16(out, at + 23, c.length);
  }
  for (const auto& c : columns_) {
    put16(out, out.size(), static_cast<uint16_t>(c.storedName.size()));
    out.insert(out.end(), c.storedName.begin(), c.storedName.end());
  }
  appendIndexes(out);
  put16(out, out.size(), 0xFFFF);
  put32(out, 8, static_cast<uint32_t>(out.size()));
  return out;
}

size_t DefinitionBuilder::pagesNeeded() const {
  const size_t size = bytes().size();
  if (size <= kTestPageSize) return 1;
  return 1 + (size - kTestPageSize + kBodySize - 1) / kBodySize;
}

std::vector<std::vector<uint8_t>> DefinitionBuilder::pages(const std::vector<uint32_t>& pageNumbers) const {
  const std::vector<uint8_t> all = bytes();
  const size_t needed = pagesNeeded();
  if (pageNumbers.size() < needed) throw std::length_error("not enough page numbers for the definition");
  std::vector<std::vector<uint8_t>> pages;
  size_t from = 0;
  for (size_t k = 0; k < needed; ++k) {
    std::vector<uint8_t> page(kTestPageSize, 0);
    const size_t bodyStart = k == 0 ? 0 : 8;
    const size_t take = std::min(all.size() - from, kTestPageSize - bodyStart);
    std::copy(all.begin() + static_cast<std::ptrdiff_t>(from), all.begin() + static_cast<std::ptrdiff_t>(from + take),
              page.begin() + static_cast<std::ptrdiff_t>(bodyStart));
    from += take;
    page[0] = 0x02;
    page[1] = 0x01;
    put16(page, 2, static_cast<uint16_t>(kTestPageSize - bodyStart - take));
    put32(page, 4, k + 1 < needed ? pageNumbers[k + 1] : 0);
    pages.push_back(std::move(page));
  }
  return pages;
}

std::vector<uint8_t> CatalogRow(int32_t id, uint16_t type, const std::vector<uint8_t>& storedName, uint32_t flags) {
  // Fixed area to 32 (id at 2, type at 10, flags at 28), the name as variable slot 0, then the trailer:
  // end of data, slot 1 start, slot 0 start, slot count, 3 bytes of null mask.
  std::vector<uint8_t> row(32, 0);
  put16(row, 0, 17);
  put32(row, 2, static_cast<uint32_t>(id));
  put16(row, 10, type);
  put32(row, 28, flags);
  row.insert(row.end(), storedName.begin(), storedName.end());
  const uint16_t nameEnd = static_cast<uint16_t>(32 + storedName.size());
  put16(row, row.size(), nameEnd);
  put16(row, row.size(), nameEnd);
  put16(row, row.size(), 32);
  put16(row, row.size(), 2);
  row.insert(row.end(), {0xFF, 0xFF, 0x01});
  return row;
}

}  // namespace testsupport
