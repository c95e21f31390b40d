// Runs the built CLI through the program runner.
#include "tests/support/cli_runner.h"

#include "tests/support/program_runner.h"

namespace testsupport {

CliResult RunCli(const std::vector<std::string>& args) {
  std::vector<std::string> command = {TESSALY_CLI_PATH};
  command.insert(command.end(), args.begin(), args.end());
  const ProgramResult result = RunProgram(command);
  return CliResult{result.exitCode, result.out};
}

}  // namespace testsupport
