// Building inline and reference usage maps.
#include "jet4/usage_map.h"

#include <algorithm>
#include <array>

#include "jet4/page_file.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr uint8_t kInlineMap = 0;
constexpr uint8_t kReferenceMap = 1;
constexpr uint32_t kInlineBitmapBytes = 64;  // 512 pages, the engine's own map size
constexpr uint32_t kInlinePages = kInlineBitmapBytes * 8;
constexpr uint32_t kBitmapPageStart = 4;
constexpr uint32_t kPagesPerBitmapPage = (kPageSize - kBitmapPageStart) * 8;
constexpr size_t kFreeMapMaxBitmap = 3840;  // what page 1 holds beside its second row

void setBit(uint8_t* bitmap, uint32_t bit) {
  bitmap[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
}
void setBit(std::string& row, size_t start, uint32_t bit) {
  row[start + bit / 8] = static_cast<char>(row[start + bit / 8] | (1 << (bit % 8)));
}
}  // namespace

std::string BuildUsageMap(PageFile& file, std::vector<uint32_t> pages) {
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  const uint32_t last = pages.empty() ? 0 : pages.back();
  uint32_t first = pages.empty() || last < kInlinePages ? 0 : pages.front() & ~7u;
  if (last - first < kInlinePages) {
    std::string row(5 + kInlineBitmapBytes, '\0');
    row[0] = static_cast<char>(kInlineMap);
    Put32(row, 1, first);
    for (uint32_t page : pages) setBit(row, 5, page - first);
    return row;
  }

  const uint32_t windows = last / kPagesPerBitmapPage + 1;
  std::string row(1 + 4 * static_cast<size_t>(windows), '\0');
  row[0] = static_cast<char>(kReferenceMap);
  size_t next = 0;
  for (uint32_t window = 0; window < windows; ++window) {
    const uint32_t windowStart = window * kPagesPerBitmapPage;
    if (next >= pages.size() || pages[next] >= windowStart + kPagesPerBitmapPage) continue;
    std::array<uint8_t, kPageSize> bitmapPage{};
    bitmapPage[0] = kPageUsageBitmap;
    bitmapPage[1] = 0x01;
    for (; next < pages.size() && pages[next] < windowStart + kPagesPerBitmapPage; ++next)
      setBit(&bitmapPage[kBitmapPageStart], pages[next] - windowStart);
    const uint32_t number = file.allocate();
    file.write(number, bitmapPage.data());
    Put32(row, 1 + 4 * static_cast<size_t>(window), number);
  }
  return row;
}

std::string BuildFreePageMap(uint32_t pageCount) {
  // Covers at least one page past the end, so the map always shows where free pages begin.
  size_t bitmapBytes = std::max<size_t>(kInlineBitmapBytes, pageCount / 8 + 1);
  bitmapBytes = (bitmapBytes + 3) & ~size_t{3};
  uint32_t first = 0;
  if (bitmapBytes > kFreeMapMaxBitmap) {
    bitmapBytes = kInlineBitmapBytes;
    first = pageCount & ~7u;
  }
  std::string row(5 + bitmapBytes, '\0');
  row[0] = static_cast<char>(kInlineMap);
  Put32(row, 1, first);
  for (uint32_t bit = 0; bit < bitmapBytes * 8; ++bit)
    if (first + bit >= pageCount) setBit(row, 5, bit);
  return row;
}

uint32_t UsageMapPages::add(const std::string& row) {
  if (open_ && !page_.fits(row.size())) finish();
  if (!open_) {
    page_.reset(0);
    pageNumber_ = file_.allocate();
    open_ = true;
  }
  return RowPointer(pageNumber_, static_cast<uint32_t>(page_.add(row)));
}

void UsageMapPages::finish() {
  if (!open_) return;
  file_.write(pageNumber_, page_.bytes());
  open_ = false;
}

}  // namespace jet4
