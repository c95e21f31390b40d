// Builds pages and small database files in code, so unit tests need no real file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

constexpr int kTestPageSize = 4096;

class PageBuilder {
 public:
  // A zeroed page whose first two bytes are type, 0x01 (type 0 leaves the page zeroed).
  explicit PageBuilder(uint8_t type = 0);

  PageBuilder& u8(size_t offset, uint8_t value);
  PageBuilder& u16(size_t offset, uint16_t value);
  PageBuilder& u24(size_t offset, uint32_t value);
  PageBuilder& u32(size_t offset, uint32_t value);
  PageBuilder& bytes(size_t offset, const std::vector<uint8_t>& data);

  // A data page owned by the table definition on page owner.
  static PageBuilder DataPage(int32_t owner);
  // Appends a row (packed from the page end towards its start) with entry flags
  // (0x4000, 0x8000, 0xC000); updates the row count at 12 and the free space at 2.
  // Returns the row's number on the page.
  int addRow(const std::vector<uint8_t>& row, uint16_t flags = 0);

  const std::vector<uint8_t>& page() const { return page_; }
  int rowCount() const;

 private:
  std::vector<uint8_t> page_;
  size_t nextRowEnd_ = kTestPageSize;
};

class FileBuilder {
 public:
  // Pages 0 to 5 with the signature words of the 4096-byte layout (header, data page 1,
  // table definitions 2 to 5), followed by zeroed pages up to pageCount.
  static FileBuilder Jet4Start(size_t pageCount = 6);

  FileBuilder& setPage(size_t number, const std::vector<uint8_t>& page);
  FileBuilder& appendPage(const std::vector<uint8_t>& page);
  size_t pageCount() const { return pages_.size(); }
  std::vector<uint8_t> bytes() const;
  void write(const std::string& path) const;

 private:
  std::vector<std::vector<uint8_t>> pages_;
};

// One Jet 4 data row, assembled the way the format lays it out:
//   column count, fixed area, variable values, end of data, offsets (last slot first), slot
//   count, null mask (one bit per column number).
class RowBuilder {
 public:
  // columnCount is N (also sizes the null mask); fixedAreaSize the bytes after the count.
  explicit RowBuilder(int columnCount, int fixedAreaSize = 0);

  // Writes a fixed value at its fixed offset and marks the column present.
  RowBuilder& fixed(int columnNumber, int fixedOffset, const std::vector<uint8_t>& value);
  // Sets or clears a column's presence bit (a BIT column's value).
  RowBuilder& present(int columnNumber, bool isPresent = true);
  // Appends the next variable slot; columnNumber -1 for a slot whose column was dropped, and
  // markPresent false to leave the bit clear.
  RowBuilder& variable(int columnNumber, const std::vector<uint8_t>& value, bool markPresent = true);
  // Rows of tables without variable columns have no slot count, offsets or end of data.
  RowBuilder& withoutVariableArea();

  std::vector<uint8_t> bytes() const;

 private:
  int columnCount_;
  std::vector<uint8_t> fixedArea_;
  std::vector<std::vector<uint8_t>> slots_;
  std::vector<bool> mask_;
  bool variableArea_ = true;
};

// Little-endian bytes of integers and floats, for row values.
std::vector<uint8_t> Le16(uint16_t value);
std::vector<uint8_t> Le32(uint32_t value);
std::vector<uint8_t> Le64(uint64_t value);
std::vector<uint8_t> DoubleBytes(double value);
std::vector<uint8_t> FloatBytes(float value);
std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b);

// UTF-16LE bytes of an ASCII text.
std::vector<uint8_t> Utf16(const std::string& ascii);

}  // namespace testsupport
