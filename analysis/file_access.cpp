// Opening the database file and reading whole pages from it.
#include <cstring>

#include "analysis/mdb_recovery.h"

namespace analysis {

namespace {
int32_t effectivePageSize(const FormatLayout& layout) {
  return layout.pageSize == 2048 || layout.pageSize == kPageSize ? layout.pageSize : kPageSize;
}
}  // namespace

MdbRecovery::MdbRecovery(ProgressChannel& progressChannel) : channel(&progressChannel) {}

MdbRecovery::~MdbRecovery() = default;

bool MdbRecovery::OpenDatabaseFile(const std::string& filePath) {
  file.close();
  g_pageMap.clear();
  g_tables.clear();
  g_rowFields.clear();
  g_queries.clear();
  g_catalogObjects.clear();
  recordsCache.reset();
  if (filePath.empty()) return false;
  bool opened = file.open(filePath);
  channel->setStatusText(opened ? "Opened file successfully..." : "Opening file failed...");
  return opened;
}

int64_t MdbRecovery::ReadPageAt(uint8_t* buffer, uint64_t fileOffset) {
  if (!file.isOpen()) return -1;
  layout.pageSize = kPageSize;
  std::memset(buffer, 0, kPageSize);
  int64_t read = file.readAt(static_cast<int64_t>(fileOffset), buffer, kPageSize);
  return read < 0 ? 0 : read;
}

int64_t MdbRecovery::ReadPageByIndex(uint8_t* buffer, uint64_t pageIndex) {
  if (!file.isOpen()) return -1;
  const int32_t size = effectivePageSize(layout);
  std::memset(buffer, 0, static_cast<size_t>(size));
  int64_t read =
      file.readAt(static_cast<int64_t>(pageIndex * static_cast<uint64_t>(size)), buffer, static_cast<size_t>(size));
  return read < 0 ? 0 : read;
}

int64_t MdbRecovery::ReadPageByNumber(uint8_t* buffer, uint32_t pageNumber) {
  if (!file.isOpen()) return -1;
  const PageMetaData* page = g_pageMap.findByNumber(pageNumber);
  if (page == nullptr) return -1;
  const int32_t size = effectivePageSize(layout);
  std::memset(buffer, 0, static_cast<size_t>(size));
  int64_t read = file.readAt(static_cast<int64_t>(page->fileOffset), buffer, static_cast<size_t>(size));
  return read < 0 ? 0 : read;
}

}  // namespace analysis
