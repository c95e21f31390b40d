// Reads of whole encrypted pages around the requested range, decrypted, then cut to it.
#include "analysis/decrypting_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "analysis/format_layout.h"

namespace analysis {

bool DecryptingFile::open(const std::string& path) {
  cipher_.reset();
  return file_.open(path);
}

void DecryptingFile::close() {
  cipher_.reset();
  file_.close();
}

int64_t DecryptingFile::readAt(int64_t offset, void* buffer, size_t count) const {
  if (!cipher_ || offset < 0 || count == 0) return file_.readAt(offset, buffer, count);
  const uint64_t pageSize = kPageSize;
  const uint64_t first = static_cast<uint64_t>(offset) / pageSize;
  const uint64_t last = (static_cast<uint64_t>(offset) + count - 1) / pageSize;
  std::vector<uint8_t> pages((last - first + 1) * pageSize);
  const int64_t read = file_.readAt(static_cast<int64_t>(first * pageSize), pages.data(), pages.size());
  if (read < 0) return read;
  for (uint64_t page = first; page <= last; ++page) {
    const uint64_t start = (page - first) * pageSize;
    if (start >= static_cast<uint64_t>(read)) break;
    const size_t length = static_cast<size_t>(std::min<uint64_t>(pageSize, static_cast<uint64_t>(read) - start));
    cipher_->decryptPage(static_cast<uint32_t>(page), pages.data() + start, length);
  }
  const uint64_t skip = static_cast<uint64_t>(offset) - first * pageSize;
  if (static_cast<uint64_t>(read) <= skip) return 0;
  const size_t available = static_cast<size_t>(std::min<uint64_t>(count, static_cast<uint64_t>(read) - skip));
  std::memcpy(buffer, pages.data() + skip, available);
  return static_cast<int64_t>(available);
}

}  // namespace analysis
