// The single-instance lock: one running copy of the desktop viewer per user. The first copy
// holds an exclusive lock on a file named after the application in the user's runtime folder;
// the lock ends with the process, also when it crashes.
#pragma once

#include <string>

namespace platform {

class SingleInstance {
 public:
  // Takes the lock "<name>.lock" in $XDG_RUNTIME_DIR (else the temporary folder).
  explicit SingleInstance(const std::string& name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another holder has the lock (or the lock file cannot be opened at all,
  // which counts as "no other copy": the program still starts).
  bool alreadyRunning() const { return alreadyRunning_; }
  const std::string& lockPath() const { return lockPath_; }

 private:
  int fd_ = -1;
  bool alreadyRunning_ = false;
  std::string lockPath_;
};

}  // namespace platform
