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

// UTF-16LE bytes of an ASCII text.
std::vector<uint8_t> Utf16(const std::string& ascii);

}  // namespace testsupport
