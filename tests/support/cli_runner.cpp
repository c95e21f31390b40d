// Child-process runner for the CLI.
#include "tests/support/cli_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

CliResult RunCli(const std::vector<std::string>& args) {
  CliResult result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, STDERR_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<char*> argv;
    std::string program = TESSALY_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies(args);
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  char buffer[65536];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) result.out.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace testsupport
