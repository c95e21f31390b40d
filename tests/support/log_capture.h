// Points the execution and error logs at a private folder for one test and reads them back.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The message texts of the log's lines ("Code:0  Error:0  MSG:" taken off), one per line end.
  std::vector<std::string> errorMessages() const;
  std::vector<std::string> executionMessages() const;
  std::string errorLog() const;

 private:
  std::string folder_;
  std::string previous_;
};

}  // namespace testsupport
