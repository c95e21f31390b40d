// The page scan: one PageMetaData per page, published page by page through the channel.
#include <vector>

#include "analysis/mdb_recovery.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
// Page fields the scan keeps:
//   offset 0  u8   page type
//   offset 2  u16  free space            (types 1 and 2)
//   offset 4  u32  owner / next page     (types 1 and 2)
//   offset 12 u16  rows on a data page   (type 1)
//   offset 16 u16  low half of a table definition's row count (type 2)
PageMetaData describePage(support::ByteView page, uint32_t number, uint64_t fileOffset, const FormatLayout& layout) {
  PageMetaData meta;
  meta.pageNumber = number;
  meta.fileOffset = fileOffset;
  meta.pageType = page.u8(0);
  if (meta.pageType == 1 || meta.pageType == 2) {
    meta.freeSpace = page.u16(2);
    meta.owner = page.i32(4);
    meta.rowCount = page.i16(meta.pageType == 1 ? layout.dataRowCountOffset : layout.tdefRowCountOffset);
  }
  return meta;
}

int32_t pagesInFile(int64_t fileSize, int32_t pageSize) {
  if (fileSize <= 0 || pageSize <= 0) return 0;
  return static_cast<int32_t>(fileSize / pageSize);
}
}  // namespace

int64_t MdbRecovery::ScanPages() {
  if (!file.isOpen()) return -1;
  if (layout.pageSize != kPageSize) layout = Jet4Layout();
  const int32_t total = pagesInFile(file.size(), layout.pageSize);
  channel->pagesTotal = total;
  channel->pagesRead = 0;
  g_pageMap.clear();
  std::vector<uint8_t> buffer(static_cast<size_t>(layout.pageSize));
  for (uint32_t n = 0;; ++n) {
    if (ReadPageByIndex(buffer.data(), n) <= 0) {
      channel->pagesRead = total;
      return static_cast<int64_t>(g_pageMap.size());
    }
    uint64_t offset = static_cast<uint64_t>(n) * static_cast<uint64_t>(layout.pageSize) + baseOffset;
    g_pageMap.push_back(describePage(support::ByteView(buffer), n, offset, layout));
    channel->pagesRead = static_cast<int32_t>(n + 1);
    if (channel->publishStatus()) return static_cast<int64_t>(g_pageMap.size());
  }
}

int64_t MdbRecovery::ScanPagesFromOffset(uint64_t startOffset) {
  if (!file.isOpen()) return -1;
  const FormatLayout pageLayout = Jet4Layout();
  const int32_t total = pagesInFile(file.size(), pageLayout.pageSize);
  channel->pagesTotal = total;
  channel->pagesRead = 0;
  g_pageMap.clear();
  std::vector<uint8_t> buffer(kPageSize);
  uint64_t offset = startOffset;
  for (uint32_t number = 1;; ++number, offset += kPageSize) {
    if (ReadPageAt(buffer.data(), offset) <= 0) return static_cast<int64_t>(g_pageMap.size());
    g_pageMap.push_back(describePage(support::ByteView(buffer), number, offset, pageLayout));
    channel->pagesRead = static_cast<int32_t>(number + 1);
    if (channel->publishStatus()) return static_cast<int64_t>(g_pageMap.size());
  }
}

}  // namespace analysis
