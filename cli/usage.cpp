// Shared argument checks of the CLI commands.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "cli/commands.h"

namespace cli {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tessaly-cli: %s\n", message.c_str());
  return 2;
}

bool CheckReadableFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "tessaly-cli: cannot read %s: no such file\n", path.c_str());
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    std::fprintf(stderr, "tessaly-cli: cannot read %s: not a regular file\n", path.c_str());
    return false;
  }
  if (::access(path.c_str(), R_OK) != 0) {
    std::fprintf(stderr, "tessaly-cli: cannot read %s: permission denied\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace cli
