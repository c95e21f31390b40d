// Reading a usage map: the pages a table definition's map row lists (its data pages, for the
// owned-pages map). The map is a row on a data page whose owner field is 0:
//
//  row pointer (in the definition): u8 row number, u24 page number
//  inline map (type 0):    u8 0, u32 first page, bitmap (bit j of byte i = page first + 8i + j)
//  reference map (type 1): u8 1, u32 per window of 32736 pages: a page of type 0x05 whose
//                          bitmap starts at its byte 4 (0 = no page of the window is listed)
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace analysis {

// Reads page pageNumber (4096 bytes) into page; false when it cannot be read.
using PageReader = std::function<bool(uint32_t pageNumber, std::vector<uint8_t>& page)>;

enum class UsageMapFault : uint8_t {
  kNone,
  kMapPageUnreadable,  // the pointer names a page the file does not hold
  kNotAMapPage,        // that page is no data page with owner 0
  kNoSuchRow,          // the row number is past the page's rows, or the row is deleted
  kBadRow,             // the row is too short, or lies outside its page
  kUnknownType,        // the map type byte is neither 0 nor 1
  kBitmapPageBad,      // a reference map's bitmap page is unreadable or not of type 0x05
};

struct UsageMap {
  UsageMapFault fault = UsageMapFault::kNone;
  std::vector<uint32_t> pages;  // ascending; empty when fault is set
};

// The pages the map row at (page, row) lists, up to but not including pageCount.
UsageMap ReadUsageMap(uint32_t mapPage, uint8_t mapRow, uint32_t pageCount, const PageReader& read);

// "unreadable map page", ...: a short description for the logs.
const char* UsageMapFaultText(UsageMapFault fault);

}  // namespace analysis
