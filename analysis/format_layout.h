// Where the fields of pages and table definitions sit in the 4096-byte page format.
#pragma once

#include <cstdint>

namespace analysis {

constexpr int kPageSize = 4096;
constexpr int kStorageFormat4 = 4;  // the format code set for files with 4096-byte pages

// Table-definition and data-page offsets; filled by format detection and again by Analyze.
struct FormatLayout {
  int32_t pageSize = 0;
  int32_t dataRowCountOffset = 0;     // data page: u16 row count; the row offset table follows
  int32_t tdefRowCountOffset = 0;     // table definition: u32 row count
  int32_t tableTypeOffset = 0;        // u8 table type
  int32_t maxColumnsOffset = 0;       // u16 maximum column count
  int32_t variableColumnsOffset = 0;  // u16 variable-length column count
  int32_t columnCountOffset = 0;      // u16 column count
  int32_t indexCountOffset = 0;       // u32 index count
  int32_t realIndexCountOffset = 0;   // u32 real index count
  int32_t usedPagesRowOffset = 0;     // u8 row of the used-pages map pointer
  int32_t usedPagesPageOffset = 0;    // u24 page of the used-pages map pointer
  int32_t freePagesRowOffset = 0;     // u8 row of the free-pages map pointer
  int32_t freePagesPageOffset = 0;    // u24 page of the free-pages map pointer
  int32_t realIndexEntrySize = 0;     // bytes per real-index entry after the header
  int32_t columnEntrySize = 0;        // bytes per column descriptor
};

// The values of the 4096-byte layout.
constexpr FormatLayout Jet4Layout() {
  return FormatLayout{kPageSize, 12, 16, 40, 41, 43, 45, 47, 51, 55, 56, 59, 60, 12, 25};
}

}  // namespace analysis
