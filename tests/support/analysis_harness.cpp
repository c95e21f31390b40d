// Test harness for whole analyses.
#include "tests/support/analysis_harness.h"

namespace testsupport {

void RecordingView::statusChanged(const std::string& text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    status_.push_back(text);
  }
  if (onStatus) onStatus(text);
}

void RecordingView::tableAdded(analysis::Table* table) {
  std::lock_guard<std::mutex> lock(mutex_);
  tables_.push_back(table->name);
}

void RecordingView::queryAdded(analysis::Queries* query) {
  std::lock_guard<std::mutex> lock(mutex_);
  queries_.push_back(query->name);
}

void RecordingView::showMessage(const std::string& text, const std::string&) {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back(text);
}

std::vector<std::string> RecordingView::statusLines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}
std::vector<std::string> RecordingView::messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}
std::vector<std::string> RecordingView::tablesAdded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return tables_;
}
std::vector<std::string> RecordingView::queriesAdded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queries_;
}

AnalysisOutcome RunAnalysis(analysis::MdbRecovery& recovery, const std::string& path, RecordingView* view) {
  RecordingView ownView;
  RecordingView& watcher = view ? *view : ownView;
  analysis::ProgressChannel& channel = recovery.Channel();
  channel.reset();
  platform::InstallMessageSink(&watcher);
  AnalysisOutcome outcome;
  {
    analysis::ProgressLoops loops(channel, watcher);
    loops.start();
    outcome.ok = recovery.Analyze(path);
    if (outcome.ok) {
      channel.done = 1;
      channel.recoveryTblEvent.set();
    }
    loops.stop();
  }
  platform::InstallMessageSink(nullptr);
  outcome.messages = watcher.messages();
  outcome.status = watcher.statusLines();
  outcome.tablesAdded = watcher.tablesAdded();
  outcome.queriesAdded = watcher.queriesAdded();
  return outcome;
}

}  // namespace testsupport
