// The page scan: one PageMetaData per page, published page by page through the channel.
// Pages are read in blocks of many pages (one read per block instead of one per page); each
// page is then described from its own bounds-checked view of the block.
#include <algorithm>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "format/row_entries.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr size_t kPagesPerRead = 64;  // 256 KB: as large as the reads of a plain sequential copy

// Page fields the scan keeps:
//   offset 0  u8   page type
//   offset 2  u16  free space            (types 1 and 2)
//   offset 4  u32  owner / next page     (types 1 and 2)
//   offset 12 u16  rows on a data page   (type 1)
//   offset 16 u16  low half of a table definition's row count (type 2)
//   offset 14 ...  row entries: whether one is a moved row's data (flags 0x8000 alone, type 1)

bool holdsMovedRow(support::ByteView page, int16_t rowCount) {
  constexpr uint16_t kFlags = format::kRowDeletedFlag | format::kRowLookupFlag;
  for (int64_t r = 0; r < rowCount; ++r)
    if ((page.u16(format::kRowTableOffset + 2 * r) & kFlags) == format::kRowLookupFlag) return true;
  return false;
}

PageMetaData describePage(support::ByteView page, uint32_t number, uint64_t fileOffset, const FormatLayout& layout) {
  PageMetaData meta;
  meta.pageNumber = number;
  meta.fileOffset = fileOffset;
  meta.pageType = page.u8(0);
  if (meta.pageType == 1 || meta.pageType == 2) {
    meta.freeSpace = page.u16(2);
    meta.owner = page.i32(4);
    meta.rowCount = page.i16(meta.pageType == 1 ? layout.dataRowCountOffset : layout.tdefRowCountOffset);
    meta.holdsMovedRow = meta.pageType == 1 && holdsMovedRow(page, meta.rowCount);
  }
  return meta;
}

int32_t pagesInFile(int64_t fileSize, int32_t pageSize) {
  if (fileSize <= 0 || pageSize <= 0) return 0;
  return static_cast<int32_t>(fileSize / pageSize);
}

// Reads the file from startOffset to its end in blocks and hands each page (a last short page
// padded with zeros) to onPage, which returns false to stop. Returns false when onPage stopped.
template <typename OnPage>
bool forEachPage(const DecryptingFile& file, uint64_t startOffset, size_t pageSize, OnPage onPage) {
  std::vector<uint8_t> block(pageSize * kPagesPerRead);
  for (uint64_t offset = startOffset;; offset += block.size()) {
    const int64_t read = file.readAt(static_cast<int64_t>(offset), block.data(), block.size());
    if (read <= 0) return true;
    const size_t bytes = static_cast<size_t>(read);
    const size_t pages = (bytes + pageSize - 1) / pageSize;
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(bytes),
              block.begin() + static_cast<std::ptrdiff_t>(pages * pageSize), uint8_t{0});
    const support::ByteView view(block);
    for (size_t i = 0; i < pages; ++i)
      if (!onPage(view.slice(static_cast<int64_t>(i * pageSize), static_cast<int64_t>(pageSize)),
                  offset + i * pageSize))
        return false;
    if (bytes < block.size()) return true;
  }
}
}  // namespace

int64_t MdbRecovery::ScanPages() {
  if (!file.isOpen()) return -1;
  if (layout.pageSize != kPageSize) layout = Jet4Layout();
  const int32_t total = pagesInFile(file.size(), layout.pageSize);
  channel->pagesTotal = total;
  channel->pagesRead = 0;
  g_pageMap.clear();
  uint32_t n = 0;
  const bool reachedEnd =
      forEachPage(file, 0, static_cast<size_t>(layout.pageSize), [&](support::ByteView page, uint64_t fileOffset) {
        g_pageMap.push_back(describePage(page, n, fileOffset + baseOffset, layout));
        channel->pagesRead = static_cast<int32_t>(++n);
        return !channel->publishStatus();
      });
  if (reachedEnd) channel->pagesRead = total;
  return static_cast<int64_t>(g_pageMap.size());
}

int64_t MdbRecovery::ScanPagesFromOffset(uint64_t startOffset) {
  if (!file.isOpen()) return -1;
  const FormatLayout pageLayout = Jet4Layout();
  layout.pageSize = kPageSize;
  const int32_t total = pagesInFile(file.size(), pageLayout.pageSize);
  channel->pagesTotal = total;
  channel->pagesRead = 0;
  g_pageMap.clear();
  uint32_t number = 1;
  forEachPage(file, startOffset, kPageSize, [&](support::ByteView page, uint64_t fileOffset) {
    g_pageMap.push_back(describePage(page, number, fileOffset, pageLayout));
    channel->pagesRead = static_cast<int32_t>(++number);
    return !channel->publishStatus();
  });
  return static_cast<int64_t>(g_pageMap.size());
}

}  // namespace analysis
