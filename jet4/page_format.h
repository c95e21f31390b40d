// Page-level constants of the writer: the shared page facts, and the limits the writer keeps to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "format/page_format.h"

namespace jet4 {

using format::kLongValueOwner;
using format::kPageData;
using format::kPageIndexLeaf;
using format::kPageIndexNode;
using format::kPageSize;
using format::kPageTableDefinition;
using format::kPageUsageBitmap;

// Magic numbers the engine writes into table definitions and their entries.
constexpr uint32_t kDefinitionMagic = 1625;
constexpr uint32_t kRealIndexMagic = 1923;

// The longest row the writer puts on a data page, and the most rows a page holds (a row
// pointer keeps the row number in one byte).
constexpr int kMaxRowSize = 4060;
constexpr int kMaxRowsPerPage = 255;

// A row pointer: row number in the low byte, page number above it.
constexpr uint32_t RowPointer(uint32_t page, uint32_t row) {
  return (page << 8) | (row & 0xFF);
}

// Little-endian stores into a byte buffer that the caller sized.
inline void Put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
inline void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void Put16(std::string& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
inline void Put32(std::string& bytes, size_t at, uint32_t value) {
  Put16(bytes, at, value & 0xFFFF);
  Put16(bytes, at + 2, value >> 16);
}

// Reads back a value the writer encoded itself (never file bytes); missing bytes read as 0.
inline uint32_t Get32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 4; i-- > 0;)
    value = (value << 8) | (at + i < bytes.size() ? static_cast<uint8_t>(bytes[at + i]) : 0u);
  return value;
}

}  // namespace jet4
