// The row table of a data page (data rows, long-value rows, catalog rows alike), as the reader
// reads it and the writer writes it:
//
//  off      | size | field
//  ---------+------+---------------------------------------------------------------------
//  12       | 2    | row count
//  14 + 2i  | 2    | row entry i: bits 0-12 the row's first byte; 0x4000 alone a pointer
//           |      | to a row moved elsewhere, 0x8000 alone the moved row itself, both a
//           |      | deleted row
//
// Rows are packed from the page end: row i ends just before row i - 1 starts (row 0 at the
// page's last byte).
#pragma once

#include <cstdint>

#include "support/byte_view.h"

namespace format {

constexpr int64_t kRowCountOffset = 12;
constexpr int64_t kRowTableOffset = 14;
constexpr uint16_t kRowOffsetMask = 0x1FFF;
constexpr uint16_t kRowDeletedFlag = 0x4000;  // with 0x8000 a deleted row; alone a moved-row pointer
constexpr uint16_t kRowLookupFlag = 0x8000;   // alone: the data of a moved row

struct RowEntry {
  uint16_t raw = 0;
  int64_t start = 0;  // the row's first byte
  int64_t end = 0;    // its last byte (inclusive); may lie before start in a damaged page
};

// Entry i of the page; false when the entry lies outside the page. start and end are as
// stored: the caller checks them against the page and the row table.
bool ReadRowEntry(support::ByteView page, int rowIndex, RowEntry& entry);

// The stored row count, bounded by the entries that fit the page.
int RowsOnPage(support::ByteView page);

}  // namespace format
