// Page and file builders for tests.
#include "tests/support/page_builder.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace testsupport {

PageBuilder::PageBuilder(uint8_t type) : page_(kTestPageSize, 0) {
  if (type != 0) {
    page_[0] = type;
    page_[1] = 0x01;
  }
}

PageBuilder& PageBuilder::u8(size_t offset, uint8_t value) {
  page_.at(offset) = value;
  return *this;
}

PageBuilder& PageBuilder::u16(size_t offset, uint16_t value) {
  u8(offset, value & 0xFF);
  return u8(offset + 1, value >> 8);
}

PageBuilder& PageBuilder::u24(size_t offset, uint32_t value) {
  u16(offset, value & 0xFFFF);
  return u8(offset + 2, (value >> 16) & 0xFF);
}

PageBuilder& PageBuilder::u32(size_t offset, uint32_t value) {
  u16(offset, value & 0xFFFF);
  return u16(offset + 2, value >> 16);
}

PageBuilder& PageBuilder::bytes(size_t offset, const std::vector<uint8_t>& data) {
  for (size_t i = 0; i < data.size(); ++i) u8(offset + i, data[i]);
  return *this;
}

PageBuilder PageBuilder::DataPage(int32_t owner) {
  PageBuilder page(1);
  page.u32(4, static_cast<uint32_t>(owner));
  page.u16(2, kTestPageSize - 14);
  return page;
}

int PageBuilder::rowCount() const {
  return page_[12] | (page_[13] << 8);
}

int PageBuilder::addRow(const std::vector<uint8_t>& row, uint16_t flags) {
  const int number = rowCount();
  const size_t entryEnd = 14 + 2 * (static_cast<size_t>(number) + 1);
  if (row.size() > nextRowEnd_ || nextRowEnd_ - row.size() < entryEnd)
    throw std::length_error("row does not fit the page");
  const size_t start = nextRowEnd_ - row.size();
  bytes(start, row);
  u16(14 + 2 * static_cast<size_t>(number), static_cast<uint16_t>(start | flags));
  u16(12, static_cast<uint16_t>(number + 1));
  nextRowEnd_ = start;
  u16(2, static_cast<uint16_t>(start - entryEnd));
  return number;
}

FileBuilder FileBuilder::Jet4Start(size_t pageCount) {
  FileBuilder file;
  PageBuilder header;
  header.u16(0, 0x0100).u16(2, 0x0000);
  file.appendPage(header.page());
  PageBuilder pageOne(1);
  pageOne.u32(4, 1);
  file.appendPage(pageOne.page());
  const uint16_t tdefSecondWords[] = {0x0BDE, 0x0EA9, 0x0DEB, 0x0CCB};
  for (uint16_t word : tdefSecondWords) {
    PageBuilder tdef(2);
    tdef.u16(2, word);
    file.appendPage(tdef.page());
  }
  while (file.pageCount() < pageCount) file.appendPage(PageBuilder().page());
  return file;
}

FileBuilder& FileBuilder::setPage(size_t number, const std::vector<uint8_t>& page) {
  if (number >= pages_.size()) pages_.resize(number + 1, std::vector<uint8_t>(kTestPageSize, 0));
  pages_[number] = page;
  return *this;
}

FileBuilder& FileBuilder::appendPage(const std::vector<uint8_t>& page) {
  pages_.push_back(page);
  return *this;
}

std::vector<uint8_t> FileBuilder::bytes() const {
  std::vector<uint8_t> out;
  for (const auto& page : pages_) out.insert(out.end(), page.begin(), page.end());
  return out;
}

void FileBuilder::write(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  auto all = bytes();
  out.write(reinterpret_cast<const char*>(all.data()), static_cast<std::streamsize>(all.size()));
}

RowBuilder::RowBuilder(int columnCount, int fixedAreaSize)
    : columnCount_(columnCount),
      fixedArea_(static_cast<size_t>(fixedAreaSize), 0),
      mask_(static_cast<size_t>(columnCount > 0 ? (columnCount - 1) / 8 + 1 : 1) * 8, false) {}

RowBuilder& RowBuilder::fixed(int columnNumber, int fixedOffset, const std::vector<uint8_t>& value) {
  if (fixedArea_.size() < static_cast<size_t>(fixedOffset) + value.size())
    fixedArea_.resize(static_cast<size_t>(fixedOffset) + value.size(), 0);
  std::copy(value.begin(), value.end(), fixedArea_.begin() + fixedOffset);
  return present(columnNumber);
}

RowBuilder& RowBuilder::present(int columnNumber, bool isPresent) {
  mask_.at(static_cast<size_t>(columnNumber)) = isPresent;
  return *this;
}

RowBuilder& RowBuilder::variable(int columnNumber, const std::vector<uint8_t>& value, bool markPresent) {
  slots_.push_back(value);
  if (columnNumber >= 0 && markPresent) present(columnNumber);
  return *this;
}

RowBuilder& RowBuilder::withoutVariableArea() {
  variableArea_ = false;
  return *this;
}

std::vector<uint8_t> RowBuilder::bytes() const {
  std::vector<uint8_t> row = Le16(static_cast<uint16_t>(columnCount_));
  row.insert(row.end(), fixedArea_.begin(), fixedArea_.end());
  std::vector<uint16_t> starts;
  for (const auto& slot : slots_) {
    starts.push_back(static_cast<uint16_t>(row.size()));
    row.insert(row.end(), slot.begin(), slot.end());
  }
  if (variableArea_) {
    if (!slots_.empty()) {
      row = Concat(row, Le16(static_cast<uint16_t>(row.size())));
      for (size_t k = starts.size(); k-- > 0;) row = Concat(row, Le16(starts[k]));
    }
    row = Concat(row, Le16(static_cast<uint16_t>(slots_.size())));
  }
  for (size_t byte = 0; byte < mask_.size() / 8; ++byte) {
    uint8_t bits = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (mask_[byte * 8 + static_cast<size_t>(bit)]) bits |= static_cast<uint8_t>(1 << bit);
    row.push_back(bits);
  }
  return row;
}

std::vector<uint8_t> Le16(uint16_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}

std::vector<uint8_t> Le32(uint32_t value) {
  return Concat(Le16(static_cast<uint16_t>(value)), Le16(static_cast<uint16_t>(value >> 16)));
}

std::vector<uint8_t> Le64(uint64_t value) {
  return Concat(Le32(static_cast<uint32_t>(value)), Le32(static_cast<uint32_t>(value >> 32)));
}

std::vector<uint8_t> DoubleBytes(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return Le64(bits);
}

std::vector<uint8_t> FloatBytes(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return Le32(bits);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> Utf16(const std::string& ascii) {
  std::vector<uint8_t> out;
  for (char c : ascii) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
  }
  return out;
}

}  // namespace testsupport
