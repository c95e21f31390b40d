// Console view of an analysis or export.
#include "cli/console_progress.h"

#include <unistd.h>

#include <cstdio>

namespace cli {

bool StderrIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

ConsoleProgress::ConsoleProgress(bool echo, bool progressBar) : echo_(echo), progressBar_(progressBar) {}

ConsoleProgress::~ConsoleProgress() {
  finish();
}

void ConsoleProgress::statusChanged(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!status_.empty() && status_.back() == text) return;
  status_.push_back(text);
  if (echo_) {
    if (barShown_) std::fputs("\r\033[K", stderr);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
}

void ConsoleProgress::percentChanged(int percent) {
  if (!progressBar_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(kWidth - filled, ' ').c_str(),
               percent);
  std::fflush(stderr);
  barShown_ = true;
}

void ConsoleProgress::showMessage(const std::string& text, const std::string& caption) {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back(text);
  if (echo_) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
}

std::vector<std::string> ConsoleProgress::statusLines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

std::vector<std::string> ConsoleProgress::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

void ConsoleProgress::finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (barShown_) std::fputs("\n", stderr);
  barShown_ = false;
}

}  // namespace cli
