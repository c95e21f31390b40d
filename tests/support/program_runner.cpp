// Child-process runner.
#include "tests/support/program_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

ProgramResult RunProgram(const std::vector<std::string>& args) {
  ProgramResult result;
  if (args.empty()) return result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, STDERR_FILENO);
      dup2(devNull, STDIN_FILENO);
    }
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<std::string> copies(args);
    std::vector<char*> argv;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
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
