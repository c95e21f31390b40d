// Private logs for a test.
#include "tests/support/log_capture.h"

#include "platform/file_system.h"
#include "support/execution_log.h"
#include "tests/support/corpus.h"

namespace testsupport {

namespace {
std::string readText(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> messages(const std::string& text) {
  const std::string prefix = "Code:0  Error:0  MSG:";
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}
}  // namespace

LogCapture::LogCapture() {
  previous_ = support::LogFolder();
  folder_ = platform::MakePrivateTempFolder("tessaly-logs-");
  platform::CreateFolder(platform::JoinPath(folder_, "Log Files"));
  support::SetLogFolder(folder_);
}

LogCapture::~LogCapture() {
  support::SetLogFolder(previous_);
  platform::DeleteFolderTree(folder_);
}

std::string LogCapture::errorLog() const {
  return readText(folder_ + "/Log Files/ErrorLog.log");
}

std::vector<std::string> LogCapture::errorMessages() const {
  return messages(errorLog());
}

std::vector<std::string> LogCapture::executionMessages() const {
  return messages(readText(folder_ + "/Log Files/ExecLog.log"));
}

}  // namespace testsupport
