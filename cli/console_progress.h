// The CLI's side of the progress channel: collects the status lines and message texts, and
// draws a progress bar on stderr when stderr is a terminal.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "analysis/progress_loops.h"
#include "platform/message_sink.h"

namespace cli {

class ConsoleProgress : public analysis::ProgressView, public platform::MessageSink {
 public:
  // echo: print status lines and messages on stdout as they come.
  ConsoleProgress(bool echo, bool progressBar);
  ~ConsoleProgress() override;

  void statusChanged(const std::string& text) override;
  void percentChanged(int percent) override;
  void showMessage(const std::string& text, const std::string& caption) override;

  // Status texts in order, consecutive repeats folded, and every message text shown.
  std::vector<std::string> statusLines() const;
  std::vector<std::string> messages() const;
  // Ends the progress bar line.
  void finish();

 private:
  bool echo_;
  bool progressBar_;
  bool barShown_ = false;
  mutable std::mutex mutex_;
  std::vector<std::string> status_;
  std::vector<std::string> messages_;
};

// True when stderr is a terminal (progress bars go there only then).
bool StderrIsTerminal();

}  // namespace cli
