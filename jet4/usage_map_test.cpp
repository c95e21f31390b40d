// Usage maps: inline bitmaps while the pages fit 512 from their start, reference maps with
// bitmap pages beyond.
#include "jet4/usage_map.h"

#include <gtest/gtest.h>

#include "jet4/page_file.h"
#include "jet4/page_format.h"
#include "support/byte_view.h"
#include "tests/support/corpus.h"

namespace {

using support::ByteView;

std::vector<uint32_t> pagesIn(const std::string& row, const std::vector<uint8_t>& file) {
  const ByteView map(reinterpret_cast<const uint8_t*>(row.data()), row.size());
  std::vector<uint32_t> pages;
  if (map.u8(0) == 0) {
    const uint32_t first = map.u32(1);
    for (uint32_t bit = 0; bit < (row.size() - 5) * 8; ++bit)
      if (map.u8(5 + bit / 8) >> (bit % 8) & 1) pages.push_back(first + bit);
    return pages;
  }
  for (size_t window = 0; 1 + 4 * window < row.size(); ++window) {
    const uint32_t bitmapPage = map.u32(static_cast<int64_t>(1 + 4 * window));
    if (bitmapPage == 0) continue;
    const ByteView page = ByteView(file).slice(int64_t{bitmapPage} * jet4::kPageSize, jet4::kPageSize);
    EXPECT_EQ(page.u16(0), 0x0105);
    for (uint32_t bit = 0; bit < (jet4::kPageSize - 4) * 8; ++bit)
      if (page.u8(4 + bit / 8) >> (bit % 8) & 1) pages.push_back(static_cast<uint32_t>(window) * 32736 + bit);
  }
  return pages;
}

TEST(UsageMapTest, ListsExactlyTheGivenPages) {
  const std::vector<std::vector<uint32_t>> cases = {{},          {17},       {6, 7, 511},
                                                    {600, 1111}, {100, 700}, {5, 40000, 70000, 70001}};
  for (const auto& pages : cases) {
    testsupport::TempFolder folder;
    jet4::PageFile file;
    file.create(folder.file("map.bin"));
    file.allocate();
    const std::string row = jet4::BuildUsageMap(file, pages);
    file.finish();
    const auto bytes = testsupport::ReadWholeFile(folder.file("map.bin"));
    EXPECT_EQ(pagesIn(row, bytes), pages) << pages.size();
    const bool inlineMap = pages.empty() || pages.back() - (pages.back() < 512 ? 0 : pages.front() & ~7u) < 512;
    EXPECT_EQ(row[0], inlineMap ? 0 : 1) << pages.size();
    if (inlineMap) {
      EXPECT_EQ(row.size(), 69u);
    }
  }
}

}  // namespace

namespace {

TEST(UsageMapTest, FreePageMapMarksThePagesPastTheEnd) {
  for (uint32_t pages : {19u, 512u, 513u, 800u, 40000u}) {
    const std::string row = jet4::BuildFreePageMap(pages);
    const ByteView map(reinterpret_cast<const uint8_t*>(row.data()), row.size());
    ASSERT_EQ(map.u8(0), 0) << pages;
    const uint32_t first = map.u32(1);
    EXPECT_LE(first, pages);
    EXPECT_GE(first + (row.size() - 5) * 8, pages + 1) << pages;  // the end of the file is covered
    for (uint32_t bit = 0; bit < (row.size() - 5) * 8; ++bit)
      ASSERT_EQ(map.u8(5 + bit / 8) >> (bit % 8) & 1, first + bit >= pages ? 1 : 0) << pages << " " << bit;
  }
  EXPECT_EQ(jet4::BuildFreePageMap(19).size(), 69u);  // the engine's size for a small file
}

}  // namespace
