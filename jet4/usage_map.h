// Usage maps: which pages belong to a table, have free space, hold an index or a column's
// long values. A map is a row on a data page whose owner field is 0.
//
//  inline map (type 0):    u8 0, u32 first page, bitmap (bit j of byte i = page first + 8i + j)
//  reference map (type 1): u8 1, u32 per window of 32736 pages: a page of type 0x05 whose
//                          bitmap starts at its byte 4 (0 = no page of the window is listed)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet4/data_page.h"

namespace jet4 {

class PageFile;

// The map row for the pages; a reference map's bitmap pages are written to the file.
std::string BuildUsageMap(PageFile& file, std::vector<uint32_t> pages);

// The global map of page 1: bit set = free page. Every page of a file of pageCount pages is
// in use, the pages past its end are free. A file too large for one bitmap row is described
// from near its end.
std::string BuildFreePageMap(uint32_t pageCount);

// Places map rows on data pages of their own and hands out their row pointers.
class UsageMapPages {
 public:
  explicit UsageMapPages(PageFile& file) : file_(file) {}
  uint32_t add(const std::string& row);
  void finish();

 private:
  PageFile& file_;
  DataPage page_{0};
  uint32_t pageNumber_ = 0;
  bool open_ = false;
};

}  // namespace jet4
