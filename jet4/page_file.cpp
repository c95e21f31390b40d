// Block-buffered page writes.
#include "jet4/page_file.h"

#include <cstring>

#include "engine/engine.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr uint32_t kBlockPages = 1024;  // 4 MiB per write
}

void PageFile::create(const std::string& path) {
  if (!file_.create(path)) throw engine::EngineError("cannot create the database file " + path);
  pageCount_ = 0;
  block_.assign(static_cast<size_t>(kBlockPages) * kPageSize, 0);
  blockStart_ = 0;
  blockPages_ = 0;
  bytesWritten_ = 0;
}

void PageFile::writeAt(uint64_t offset, const uint8_t* bytes, size_t count) {
  if (!file_.writeAt(static_cast<int64_t>(offset), bytes, count))
    throw engine::EngineError("writing the database file failed");
  bytesWritten_ += count;
}

void PageFile::flushBlock() {
  if (blockPages_ > 0)
    writeAt(static_cast<uint64_t>(blockStart_) * kPageSize, block_.data(),
            static_cast<size_t>(blockPages_) * kPageSize);
  std::fill(block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(blockPages_) * kPageSize, 0);
  blockPages_ = 0;
}

void PageFile::write(uint32_t page, const uint8_t* bytes) {
  if (!file_.isOpen()) throw engine::EngineError("the database file is not open");
  if (page < blockStart_) {
    // Pages behind the block were skipped by an earlier flush (left as zeros) or are
    // rewritten: they go straight to their place.
    writeAt(static_cast<uint64_t>(page) * kPageSize, bytes, kPageSize);
    return;
  }
  if (page >= blockStart_ + kBlockPages) {
    flushBlock();
    blockStart_ = page;
  }
  const uint32_t index = page - blockStart_;
  std::memcpy(&block_[static_cast<size_t>(index) * kPageSize], bytes, kPageSize);
  if (index + 1 > blockPages_) blockPages_ = index + 1;
}

void PageFile::finish() {
  flushBlock();
  if (!file_.finish(static_cast<int64_t>(pageCount_) * kPageSize))
    throw engine::EngineError("finishing the database file failed");
  block_.clear();
  block_.shrink_to_fit();
}

void PageFile::abandon() {
  file_.close();
  block_.clear();
  block_.shrink_to_fit();
}

}  // namespace jet4
