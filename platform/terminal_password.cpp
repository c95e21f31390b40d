// termios-based password prompt.
#include "platform/terminal_password.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

bool StdinIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> ReadPasswordFromTerminal(const std::string& prompt) {
  if (!StdinIsTerminal()) return std::nullopt;
  std::fputs(prompt.c_str(), stderr);
  std::fflush(stderr);
  termios saved{};
  const bool haveSettings = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (haveSettings) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  bool ended = true;
  char c = 0;
  while (::read(STDIN_FILENO, &c, 1) == 1) {
    if (c == '\n') {
      ended = false;
      break;
    }
    line.push_back(c);
  }
  if (haveSettings) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  std::fputc('\n', stderr);
  if (ended && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace platform
