// The free-page map of page 1, inline or through bitmap pages.
#include "analysis/free_page_map.h"

#include <vector>

#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr uint32_t kMapPage = 1;
constexpr int32_t kMapOwner = 1;
constexpr int64_t kRowCountOffset = 12;
constexpr int64_t kRowTableOffset = 14;
constexpr uint16_t kRowOffsetMask = 0x1FFF;
constexpr uint8_t kInlineMap = 0;
constexpr uint8_t kReferenceMap = 1;
constexpr int64_t kBitmapPageHeader = 4;
constexpr uint32_t kPagesPerBitmapPage = (kPageSize - kBitmapPageHeader) * 8;
constexpr uint8_t kBitmapPageType = 5;
constexpr size_t kMaxBitmapPages = 1024;

void addFreePages(support::ByteView bitmap, uint64_t firstPage, std::unordered_set<uint32_t>& free) {
  for (size_t i = 0; i < bitmap.size(); ++i) {
    const uint8_t bits = bitmap.u8(static_cast<int64_t>(i));
    for (int j = 0; j < 8; ++j) {
      const uint64_t page = firstPage + 8 * i + static_cast<uint64_t>(j);
      if ((bits >> j & 1) && page <= UINT32_MAX) free.insert(static_cast<uint32_t>(page));
    }
  }
}
}  // namespace

std::unordered_set<uint32_t> ReadFreePages(MdbRecovery& recovery) {
  std::unordered_set<uint32_t> free;
  std::vector<uint8_t> buffer(kPageSize, 0);
  if (recovery.ReadPageByNumber(buffer.data(), kMapPage) <= 0) return free;
  const support::ByteView page(buffer);
  if (page.u8(0) != 1 || page.i32(4) != kMapOwner || page.u16(kRowCountOffset) == 0) return free;
  const int64_t start = page.u16(kRowTableOffset) & kRowOffsetMask;
  if (start <= kRowTableOffset) return free;
  const support::ByteView row = page.from(start);
  if (row.u8(0) == kInlineMap) {
    addFreePages(row.from(5), row.u32(1), free);
  } else if (row.u8(0) == kReferenceMap) {
    std::vector<uint8_t> bitmapPage(kPageSize, 0);
    for (size_t k = 0; 1 + 4 * static_cast<int64_t>(k) + 4 <= static_cast<int64_t>(row.size()) && k < kMaxBitmapPages;
         ++k) {
      const uint32_t number = row.u32(1 + 4 * static_cast<int64_t>(k));
      if (number == 0 || recovery.ReadPageByNumber(bitmapPage.data(), number) <= 0) continue;
      if (bitmapPage[0] != kBitmapPageType) continue;
      addFreePages(support::ByteView(bitmapPage).from(kBitmapPageHeader), uint64_t{k} * kPagesPerBitmapPage, free);
    }
  }
  return free;
}

}  // namespace analysis
