// SingleInstance over flock(2): the lock belongs to the open file, so a second opening fails
// to take it even inside the same process, and the kernel drops it when the holder ends.
#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {
std::string runtimeFolder() {
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "/tmp";
}
}  // namespace

SingleInstance::SingleInstance(const std::string& name) : lockPath_(runtimeFolder() + "/" + name + ".lock") {
  fd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    alreadyRunning_ = (errno == EWOULDBLOCK);
    ::close(fd_);
    fd_ = -1;
  }
}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
