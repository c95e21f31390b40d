// POSIX implementation of the read-only database file.
#include "platform/read_only_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ReadOnlyFile::~ReadOnlyFile() { close(); }

bool ReadOnlyFile::open(const std::string& path) {
  close();
  if (path.empty()) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void ReadOnlyFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int64_t ReadOnlyFile::size() const {
  if (fd_ < 0) return -1;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

int64_t ReadOnlyFile::readAt(int64_t offset, void* buffer, size_t count) const {
  if (fd_ < 0 || offset < 0) return -1;
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? static_cast<int64_t>(done) : -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

}  // namespace platform
