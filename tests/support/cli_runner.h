// Runs the built tessaly-cli and captures its standard output and exit status.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct CliResult {
  int exitCode = -1;
  std::string out;
};

// Arguments are passed without a shell; stderr is discarded.
CliResult RunCli(const std::vector<std::string>& args);

}  // namespace testsupport
