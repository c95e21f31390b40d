// A file the system creates and writes (the Access export target): created only when no file
// of that name exists, written at 64-bit offsets, and renamed into place without replacing one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class NewFile {
 public:
  NewFile() = default;
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Creates the file for writing; false when it exists already or cannot be made.
  bool create(const std::string& path);
  bool isOpen() const { return fd_ >= 0; }
  // Writes every byte at offset; false on any failure.
  bool writeAt(int64_t offset, const void* data, size_t count);
  // Sets the file's size, flushes it to the disk and closes it; false on any failure.
  bool finish(int64_t size);
  // Closes without any further write.
  void close();

 private:
  int fd_ = -1;
};

// Renames from to to; false when to exists already or the rename fails.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace platform
