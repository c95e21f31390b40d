// Builds table definitions (head page plus continuation pages) and catalog rows in code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct ColumnSpec {
  uint8_t type = 10;
  uint16_t number = 0;
  std::vector<uint8_t> storedName;  // the UTF-16LE bytes as stored
  uint16_t length = 0;
  bool fixed = false;
  bool autoNumber = false;  // flag 0x04
  uint16_t fixedOffset = 0;
  uint16_t variableIndex = 0;
  uint16_t rowColumnNumber = 0;
  uint8_t precision = 0;  // descriptor byte 11
  uint8_t scale = 0;      // descriptor byte 12
};

// A named index over columns (by column number): its real index block, its logical index
// block (kind 1 = primary key) and its name.
struct IndexSpec {
  std::string name;
  std::vector<uint16_t> columnNumbers;
  uint8_t kind = 0;
  uint8_t flags = 0x80;             // real-index flags, 0x01 unique
  uint32_t realIndex = UINT32_MAX;  // the real index the logical one uses; its own by default
};

// A column with an ASCII name.
ColumnSpec Col(uint8_t type, uint16_t number, const std::string& name, uint16_t length = 0);

class DefinitionBuilder {
 public:
  DefinitionBuilder& rows(uint32_t count);
  DefinitionBuilder& tableType(uint8_t type);
  DefinitionBuilder& realIndexes(uint32_t count);
  // Overrides the column count written at 45 (it follows the columns otherwise).
  DefinitionBuilder& columnCount(uint16_t count);
  DefinitionBuilder& column(const ColumnSpec& column);
  // Adds an index; the index counts then follow the indexes.
  DefinitionBuilder& index(const IndexSpec& index);

  // The assembled definition: header, real-index blocks, descriptors, names, FF FF.
  std::vector<uint8_t> bytes() const;
  // The definition split into 4096-byte pages: the head page, then continuation pages whose
  // bodies start at byte 8. pageNumbers gives where each page goes (its next pointer is the
  // following number, 0 on the last); it must hold at least pagesNeeded() numbers.
  std::vector<std::vector<uint8_t>> pages(const std::vector<uint32_t>& pageNumbers) const;
  size_t pagesNeeded() const;

 private:
  void appendIndexes(std::vector<uint8_t>& out) const;

  uint32_t rows_ = 0;
  uint8_t tableType_ = 0x4E;
  uint32_t realIndexes_ = 0;
  int32_t columnCount_ = -1;
  std::vector<ColumnSpec> columns_;
  std::vector<IndexSpec> indexes_;
};

// A catalog row as the analysis reads it: object id at 2, type at 10, flags at 28, the name from
// 32 and its end offset 8 bytes before the row's last byte (the variable-column trailer of a real row).
std::vector<uint8_t> CatalogRow(int32_t id, uint16_t type, const std::vector<uint8_t>& storedName, uint32_t flags = 0);

}  // namespace testsupport
