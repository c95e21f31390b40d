// Writing one index as a tree of pages: leaves with the sorted entries, linked in order,
// and intermediate pages above them until one page (the root) remains.
//
//  off | size | field (leaf 0x04 and intermediate 0x03 pages)
//  ----+------+---------------------------------------------------------------
//   00 |  2   | type, 0x01
//   02 |  2   | free = 4096 - 480 - entry bytes
//   04 |  4   | tdef page of the table
//   0C |  4   | previous page on this level (0 = none)
//   10 |  4   | next page on this level
//   14 |  4   | intermediate: the last child (not listed among the entries); leaf: 0
//   18 |  2   | shared prefix length (we write 0: every entry complete)
//   1A |  1   | 1 on intermediate pages
//   1B | 453  | bit k set = an entry ends at 480 + k
//  1E0 |  -   | entries: leaf = key + page (3 bytes BE) + row; intermediate = the child's
//      |      | last leaf entry + child page (4 bytes BE)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet4 {

class PageFile;

struct IndexEntry {
  std::string key;  // flag bytes and values of the indexed columns
  uint32_t page = 0;
  uint8_t row = 0;
};

struct WrittenIndex {
  uint32_t rootPage = 0;
  std::vector<uint32_t> pages;  // every page of the index
  uint32_t distinctKeys = 0;
};

// Sorts the entries and writes the index pages for the table defined on tdefPage.
WrittenIndex WriteIndex(PageFile& file, uint32_t tdefPage, std::vector<IndexEntry> entries);

}  // namespace jet4
