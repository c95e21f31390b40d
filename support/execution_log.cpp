// Log files with their start-up header.
#include "support/execution_log.h"

#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace support {

namespace {
constexpr const char* kLogFolderName = "Log Files";
constexpr const char* kErrorLogName = "ErrorLog.log";
constexpr const char* kExecLogName = "ExecLog.log";
constexpr const char* kLineEnd = "\n";

std::mutex g_logFolderMutex;
std::string g_logFolder;

std::string logPath(const std::string& name) {
  std::string folder = LogFolder();
  if (folder.empty()) return {};
  return platform::JoinPath(platform::JoinPath(folder, kLogFolderName), name);
}

std::string headerBlock() {
  const std::string rule(79, '=');
  platform::DateTimeParts date = platform::UtcNow();
  platform::DateTimeParts time = platform::LocalNow();
  std::string text = rule + kLineEnd + "Last Log On" + kLineEnd;
  text += "Date : " + std::to_string(date.day) + "/" + std::to_string(date.month) + "/" +
          std::to_string(date.year) + kLineEnd;
  text += "Time : " + std::to_string(time.hour) + ":" + std::to_string(time.minute) + ":" +
          std::to_string(time.second) + kLineEnd;
  text += rule + kLineEnd;
  return text;
}
}  // namespace

ExecutionLog::ExecutionLog() {
  std::string folder = LogFolder();
  if (folder.empty()) return;
  platform::CreateFolder(platform::JoinPath(folder, kLogFolderName));
  const std::string header = headerBlock();
  platform::AppendToFile(logPath(kErrorLogName), header);
  platform::AppendToFile(logPath(kExecLogName), header);
}

void SetLogFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_logFolderMutex);
  g_logFolder = folder;
}

std::string LogFolder() {
  std::lock_guard<std::mutex> lock(g_logFolderMutex);
  return g_logFolder;
}

bool WriteLogLine(int code, int error, const std::string& message, bool isError) {
  std::string path = logPath(isError ? kErrorLogName : kExecLogName);
  if (path.empty()) return false;
  std::string line = "Code:" + std::to_string(code) + "  Error:" + std::to_string(error) +
                     "  MSG:" + message + kLineEnd;
  return platform::AppendToFile(path, line);
}

}  // namespace support
