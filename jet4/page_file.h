// The file being written, as numbered pages: page numbers are handed out in order, finished
// pages are collected in a block buffer and written in large blocks; pages finished out of
// order (table definitions, the catalog, maps) are written where they belong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/new_file.h"

namespace jet4 {

class PageFile {
 public:
  // Creates the file; throws engine::EngineError when it exists or cannot be made.
  void create(const std::string& path);
  bool isOpen() const { return file_.isOpen(); }

  uint32_t allocate() { return pageCount_++; }
  uint32_t pageCount() const { return pageCount_; }
  // Stores one finished page of kPageSize bytes; throws EngineError when writing fails.
  void write(uint32_t page, const uint8_t* bytes);
  // Writes what is buffered, sizes the file to its pages and closes it; throws on failure.
  void finish();
  // Closes without finishing (the caller removes the file).
  void abandon();

  uint64_t bytesWritten() const { return bytesWritten_; }

 private:
  void flushBlock();
  void writeAt(uint64_t offset, const uint8_t* bytes, size_t count);

  platform::NewFile file_;
  uint32_t pageCount_ = 0;
  std::vector<uint8_t> block_;
  uint32_t blockStart_ = 0;  // first page the block holds
  uint32_t blockPages_ = 0;  // pages from blockStart_ up to the highest one stored
  uint64_t bytesWritten_ = 0;
};

}  // namespace jet4
