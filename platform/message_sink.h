// Where the core's "message boxes" go. The GUI, the CLI and the tests install their own
// sink; the core only calls ShowMessageBox and never blocks on a terminal.
#pragma once

#include <string>

namespace platform {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
};

// Installs the sink for the whole process (nullptr restores the default, which writes
// to stderr). The sink must outlive every call made while it is installed.
void InstallMessageSink(MessageSink* sink);
void ShowMessageBox(const std::string& text, const std::string& caption = "");

}  // namespace platform
