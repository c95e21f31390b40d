// Page-level facts of the 4096-byte page format that the reader and the writer share.
//
//  off | size | field (every page)
//  ----+------+---------------------------------------------------------------
//   0  |  1   | page type (below)
//   1  |  1   | 0x01
//
//  off | size | field (data pages: table rows, long-value rows, usage-map rows)
//  ----+------+---------------------------------------------------------------
//   2  |  2   | free bytes
//   4  |  4   | owner: the table's definition page, or "LVAL" for long-value rows
//  12  |  2   | row count; the row table follows (format/row_entries.h)
#pragma once

#include <cstdint>

namespace format {

constexpr int kPageSize = 4096;

constexpr uint8_t kPageData = 0x01;
constexpr uint8_t kPageTableDefinition = 0x02;
constexpr uint8_t kPageIndexNode = 0x03;
constexpr uint8_t kPageIndexLeaf = 0x04;
constexpr uint8_t kPageUsageBitmap = 0x05;

constexpr int64_t kDataOwnerOffset = 4;
// Owner of long-value pages: the bytes "LVAL".
constexpr uint32_t kLongValueOwner = 0x4C41564C;

}  // namespace format
