// Usage map rows, inline and by reference, every page number and offset checked.
#include "analysis/usage_map_reader.h"

#include "analysis/format_layout.h"
#include "format/row_entries.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr uint8_t kDataPageType = 1;
constexpr uint8_t kBitmapPageType = 5;
constexpr int64_t kOwnerOffset = 4;
constexpr int64_t kBitmapPageStart = 4;
constexpr uint32_t kPagesPerBitmapPage = (kPageSize - kBitmapPageStart) * 8;  // 32736

// Appends the pages whose bits are set; bit j of byte i is page first + 8i + j.
void appendBitmap(support::ByteView bitmap, uint64_t first, uint32_t pageCount, std::vector<uint32_t>& pages) {
  for (size_t i = 0; i < bitmap.size(); ++i) {
    const uint8_t bits = bitmap.u8(static_cast<int64_t>(i));
    for (int j = 0; j < 8 && bits != 0; ++j) {
      const uint64_t page = first + 8 * i + static_cast<uint64_t>(j);
      if (page >= pageCount) return;
      if ((bits >> j) & 1) pages.push_back(static_cast<uint32_t>(page));
    }
  }
}

UsageMap failed(UsageMapFault fault) {
  UsageMap map;
  map.fault = fault;
  return map;
}
}  // namespace

UsageMap ReadUsageMap(uint32_t mapPage, uint8_t mapRow, uint32_t pageCount, const PageReader& read) {
  std::vector<uint8_t> bytes;
  if (mapPage == 0 || mapPage >= pageCount || !read(mapPage, bytes) || bytes.size() != kPageSize)
    return failed(UsageMapFault::kMapPageUnreadable);
  const support::ByteView page(bytes);
  if (page.u8(0) != kDataPageType || page.u32(kOwnerOffset) != 0) return failed(UsageMapFault::kNotAMapPage);
  format::RowEntry entry;
  if (mapRow >= page.u16(format::kRowCountOffset) || !format::ReadRowEntry(page, mapRow, entry) ||
      (entry.raw & format::kRowDeletedFlag))
    return failed(UsageMapFault::kNoSuchRow);
  const support::ByteView row = page.slice(entry.start, entry.end - entry.start + 1);
  if (row.size() < 5) return failed(UsageMapFault::kBadRow);

  UsageMap map;
  if (row.u8(0) == 0) {
    appendBitmap(row.from(5), row.u32(1), pageCount, map.pages);
    return map;
  }
  if (row.u8(0) != 1) return failed(UsageMapFault::kUnknownType);
  std::vector<uint8_t> bitmapPage;
  for (int64_t k = 0; 1 + 4 * k + 4 <= static_cast<int64_t>(row.size()); ++k) {
    const uint32_t number = row.u32(1 + 4 * k);
    if (number == 0) continue;
    if (number >= pageCount || !read(number, bitmapPage) || bitmapPage.size() != kPageSize ||
        bitmapPage[0] != kBitmapPageType)
      return failed(UsageMapFault::kBitmapPageBad);
    appendBitmap(support::ByteView(bitmapPage).from(kBitmapPageStart), uint64_t{kPagesPerBitmapPage} * k, pageCount,
                 map.pages);
  }
  return map;
}

const char* UsageMapFaultText(UsageMapFault fault) {
  switch (fault) {
    case UsageMapFault::kNone: return "readable";
    case UsageMapFault::kMapPageUnreadable: return "its page is not in the file";
    case UsageMapFault::kNotAMapPage: return "its page is no map page";
    case UsageMapFault::kNoSuchRow: return "its row is missing or deleted";
    case UsageMapFault::kBadRow: return "its row is cut short";
    case UsageMapFault::kUnknownType: return "its type is unknown";
    case UsageMapFault::kBitmapPageBad: return "a bitmap page is unreadable";
  }
  return "unknown";
}

}  // namespace analysis
