// Runs Analyze in a test the way the viewer does: the worker on the calling thread and the
// window side's status and table loops on their own threads, with every message box recorded.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/progress_loops.h"
#include "platform/message_sink.h"

namespace testsupport {

class RecordingView : public analysis::ProgressView, public platform::MessageSink {
 public:
  void statusChanged(const std::string& text) override;
  void tableAdded(analysis::Table* table) override;
  void queryAdded(analysis::Queries* query) override;
  void showMessage(const std::string& text, const std::string& caption) override;

  std::vector<std::string> statusLines() const;
  std::vector<std::string> messages() const;
  std::vector<std::string> tablesAdded() const;
  std::vector<std::string> queriesAdded() const;
  // Called on the status loop's thread for every status it takes (tests stop the work here).
  std::function<void(const std::string&)> onStatus;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> status_, messages_, tables_, queries_;
};

struct AnalysisOutcome {
  bool ok = false;
  std::vector<std::string> messages;
  std::vector<std::string> status;
  std::vector<std::string> tablesAdded;
  std::vector<std::string> queriesAdded;
};

// Analyzes path with recovery (its channel is reset first); the view may be given to watch.
AnalysisOutcome RunAnalysis(analysis::MdbRecovery& recovery, const std::string& path, RecordingView* view = nullptr);

}  // namespace testsupport
