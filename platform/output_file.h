// Files the export writes (CSV tables, the statistics file, copied OLE objects): created or
// emptied on open, written in pieces, closed once. Text goes out as given, "\n" line ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file or empties an existing one; false when it cannot be opened.
  bool open(const std::string& path);
  // Creates a new file; false when it cannot be made, also when a file of that name exists
  // (which is left as it is).
  bool create(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
  // False once any write failed (a full disk, for one).
  bool write(const std::string& text);
  bool write(const uint8_t* data, size_t size);
  // True when every byte reached the file.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool ok_ = true;
};

// Copies a regular file byte for byte, replacing the target; false when anything failed.
bool CopyFileTo(const std::string& from, const std::string& to);

}  // namespace platform
