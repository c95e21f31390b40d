// The execution log and the error log, "Log Files/ExecLog.log" and "Log Files/ErrorLog.log" in
// the program folder. Append-only; every line opens and closes its file, so the logs survive a crash.
#pragma once

#include <string>

namespace support {

class ExecutionLog {
 public:
  // Creates "Log Files" and appends the start-up header to the error log, then the execution log.
  ExecutionLog();
  virtual ~ExecutionLog() = default;
};

// The folder that holds "Log Files" (the program folder); set once at start-up.
void SetLogFolder(const std::string& folder);
std::string LogFolder();

// Appends "Code:%d  Error:%d  MSG:%s" and a line end; false when the file cannot be opened.
bool WriteLogLine(int code, int error, const std::string& message, bool isError);

// The error-log line that database, export and query failures write (code 0, error 0).
inline bool LogError(const std::string& message) { return WriteLogLine(0, 0, message, true); }
inline bool LogExecution(const std::string& message) { return WriteLogLine(0, 0, message, false); }

}  // namespace support
