// POSIX implementation of the created file.
#include "platform/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

NewFile::~NewFile() {
  close();
}

bool NewFile::create(const std::string& path) {
  close();
  if (path.empty()) return false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  fd_ = fd;
  return true;
}

bool NewFile::writeAt(int64_t offset, const void* data, size_t count) {
  if (fd_ < 0 || offset < 0) return false;
  const auto* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(fd_, bytes + done, count - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool NewFile::finish(int64_t size) {
  if (fd_ < 0) return false;
  bool ok = ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
  ok = ::fsync(fd_) == 0 && ok;
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  return ok;
}

void NewFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace rename: a hard link fails as well when to exists.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace platform
