// What one CLI run needs around an analysis: the program folder for the logs, a private
// folder for temporary files (removed on exit, so parallel runs never touch each other's),
// and the analysis object with every step installed.
#pragma once

#include <memory>
#include <string>

#include "analysis/mdb_recovery.h"

namespace cli {

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  analysis::MdbRecovery& recovery() { return *recovery_; }
  const std::string& tempFolder() const { return tempFolder_; }

 private:
  std::string tempFolder_;
  std::unique_ptr<analysis::MdbRecovery> recovery_;
};

}  // namespace cli
