// Whole-file writes on POSIX.
#include "platform/file_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

bool CreatePrivateFile(const std::string& path) {
  if (path.empty()) return false;
  const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  return ::close(fd) == 0;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = (std::fclose(file) == 0) && ok;
  return ok;
}

}  // namespace platform
