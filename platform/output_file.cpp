// Output files on stdio.
#include "platform/output_file.h"

#include <filesystem>
#include <system_error>

namespace platform {

bool OutputFile::open(const std::string& path) {
  close();
  ok_ = true;
  if (path.empty()) return false;
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

bool OutputFile::create(const std::string& path) {
  close();
  ok_ = true;
  if (path.empty()) return false;
  file_ = std::fopen(path.c_str(), "wbx");  // "x": exclusive, never an existing file
  return file_ != nullptr;
}

bool OutputFile::write(const std::string& text) {
  return write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool OutputFile::write(const uint8_t* data, size_t size) {
  if (!file_) return false;
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) ok_ = false;
  return ok_;
}

bool OutputFile::close() {
  if (!file_) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && ok_;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (from.empty() || to.empty() || !std::filesystem::is_regular_file(from, ec)) return false;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  return !ec;
}

}  // namespace platform
