// The user's database file, opened read-only; every read is positional with a 64-bit offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens an existing regular file for reading; closes any file open before.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  // File size in bytes, or -1 when no file is open.
  int64_t size() const;
  // Reads up to count bytes at offset; returns the bytes read (0 at or past the end),
  // or -1 when no file is open or the read fails.
  int64_t readAt(int64_t offset, void* buffer, size_t count) const;

 private:
  int fd_ = -1;
};

}  // namespace platform
