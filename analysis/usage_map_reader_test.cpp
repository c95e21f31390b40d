// Usage maps built in code: inline and reference maps, damaged maps, and the split of a
// table's owned pages into live and freed pages.
#include "analysis/usage_map_reader.h"

#include <gtest/gtest.h>

#include <map>

#include "analysis/table_pages.h"
#include "tests/support/page_builder.h"

namespace {

using namespace testsupport;
using analysis::UsageMapFault;

constexpr uint32_t kPageCount = 100000;

struct PageSet {
  std::map<uint32_t, std::vector<uint8_t>> pages;

  analysis::PageReader reader() const {
    return [this](uint32_t number, std::vector<uint8_t>& page) {
      auto found = pages.find(number);
      if (found == pages.end()) return false;
      page = found->second;
      return true;
    };
  }
};

std::vector<uint8_t> InlineMap(uint32_t first, const std::vector<uint8_t>& bitmap) {
  return Concat(Concat({0x00}, Le32(first)), bitmap);
}

// A map page (data page with owner 0) holding a filler row, then the map row as row 1.
std::vector<uint8_t> MapPage(const std::vector<uint8_t>& mapRow, uint16_t flags = 0) {
  PageBuilder page = PageBuilder::DataPage(0);
  page.addRow({0x00, 0x10, 0x00, 0x00, 0x00});
  page.addRow(mapRow, flags);
  return page.page();
}

std::vector<uint8_t> BitmapPage(const std::vector<uint32_t>& setBitsFromStart) {
  PageBuilder page(0x05);
  for (uint32_t bit : setBitsFromStart) {
    const size_t at = 4 + bit / 8;
    page.u8(at, static_cast<uint8_t>(page.page()[at] | (1u << (bit % 8))));
  }
  return page.page();
}

TEST(UsageMapReader, ReadsInlineAndReferenceMaps) {
  PageSet set;
  set.pages[6] = MapPage(InlineMap(16, {0b00000101, 0x00, 0b10000000}));  // 16, 18, 39
  set.pages[7] = MapPage(Concat(Concat({0x01}, Le32(30)), Concat(Le32(0), Le32(31))));
  set.pages[30] = BitmapPage({3, 40});
  set.pages[31] = BitmapPage({1});
  const analysis::UsageMap inlineMap = analysis::ReadUsageMap(6, 1, kPageCount, set.reader());
  EXPECT_EQ(inlineMap.fault, UsageMapFault::kNone);
  EXPECT_EQ(inlineMap.pages, (std::vector<uint32_t>{16, 18, 39}));
  const analysis::UsageMap reference = analysis::ReadUsageMap(7, 1, kPageCount, set.reader());
  EXPECT_EQ(reference.fault, UsageMapFault::kNone);
  EXPECT_EQ(reference.pages, (std::vector<uint32_t>{3, 40, 2 * 32736 + 1}));
  // Bits for pages past the file are not pages.
  EXPECT_EQ(analysis::ReadUsageMap(6, 1, 19, set.reader()).pages, (std::vector<uint32_t>{16, 18}));
}

TEST(UsageMapReader, DamagedMaps) {
  PageSet set;
  set.pages[6] = MapPage(InlineMap(16, {0x01}));
  set.pages[7] = PageBuilder::DataPage(2).page();  // a table's data page, not a map page
  set.pages[8] = PageBuilder(0x02).page();
  set.pages[9] = MapPage(InlineMap(16, {0x01}), 0xC000);
  set.pages[10] = MapPage({0x00, 0x10});
  set.pages[11] = MapPage({0x07, 1, 0, 0, 0, 1});
  set.pages[12] = MapPage(Concat({0x01}, Le32(13)));
  set.pages[13] = PageBuilder::DataPage(0).page();
  set.pages[14] = MapPage(Concat({0x01}, Le32(kPageCount + 5)));
  struct Case {
    const char* name;
    uint32_t page;
    uint8_t row;
    UsageMapFault expected;
  };
  const Case cases[] = {
      {"page 0", 0, 1, UsageMapFault::kMapPageUnreadable},
      {"page past the file", kPageCount + 1, 0, UsageMapFault::kMapPageUnreadable},
      {"page not in the file", 99, 0, UsageMapFault::kMapPageUnreadable},
      {"table data page", 7, 0, UsageMapFault::kNotAMapPage},
      {"definition page", 8, 0, UsageMapFault::kNotAMapPage},
      {"row past the page's rows", 6, 2, UsageMapFault::kNoSuchRow},
      {"deleted row", 9, 1, UsageMapFault::kNoSuchRow},
      {"row too short", 10, 1, UsageMapFault::kBadRow},
      {"unknown type", 11, 1, UsageMapFault::kUnknownType},
      {"bitmap page of the wrong type", 12, 1, UsageMapFault::kBitmapPageBad},
      {"bitmap page past the file", 14, 1, UsageMapFault::kBitmapPageBad},
  };
  for (const Case& c : cases) {
    const analysis::UsageMap map = analysis::ReadUsageMap(c.page, c.row, kPageCount, set.reader());
    EXPECT_EQ(map.fault, c.expected) << c.name;
    EXPECT_TRUE(map.pages.empty()) << c.name;
  }
  // A row whose start lies past its end (entries out of order) is cut short, not read beyond.
  PageBuilder swapped = PageBuilder::DataPage(0);
  swapped.addRow(InlineMap(16, {0x01}));
  swapped.addRow(InlineMap(16, {0x01}));
  swapped.u16(16, 4095);
  set.pages[15] = swapped.page();
  EXPECT_EQ(analysis::ReadUsageMap(15, 1, kPageCount, set.reader()).fault, UsageMapFault::kBadRow);
}

TEST(TablePages, MapSplitsOwnedPagesIntoLiveAndFreed) {
  analysis::UsageMap map;
  map.pages = {12, 14, 20};  // 20 names another owner: not the table's
  struct Case {
    const char* name;
    std::vector<uint32_t> owned;
    UsageMapFault fault;
    uint32_t rowCount;
    std::vector<int32_t> live, freed;
    bool damaged;
  };
  const std::vector<Case> cases = {
      {"listed and unlisted pages", {11, 12, 13, 14}, UsageMapFault::kNone, 5, {12, 14}, {11, 13}, false},
      {"all listed", {12, 14}, UsageMapFault::kNone, 5, {12, 14}, {}, false},
      {"unreadable map: the owners decide", {11, 12}, UsageMapFault::kNotAMapPage, 5, {11, 12}, {}, true},
      {"map lists none of a counted table's pages", {11, 13}, UsageMapFault::kNone, 5, {11, 13}, {}, true},
      {"map lists none of an empty table's pages", {11, 13}, UsageMapFault::kNone, 0, {}, {11, 13}, false},
      {"no owned pages", {}, UsageMapFault::kNone, 0, {}, {}, false},
  };
  for (const Case& c : cases) {
    analysis::UsageMap given = map;
    given.fault = c.fault;
    analysis::Table table;
    table.rowCount = c.rowCount;
    table.freedPages = {99};  // stale values are replaced
    analysis::SplitTablePages(c.owned, given, table);
    EXPECT_EQ(table.dataPages, c.live) << c.name;
    EXPECT_EQ(table.freedPages, c.freed) << c.name;
    EXPECT_EQ(table.usageMapDamaged, c.damaged) << c.name;
  }
}

}  // namespace
