// Runs a program (found on PATH, or by its path) without a shell and captures its standard
// output and exit status; stderr is discarded and stdin reads nothing.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
  int exitCode = -1;
  std::string out;
};

ProgramResult RunProgram(const std::vector<std::string>& args);

}  // namespace testsupport
