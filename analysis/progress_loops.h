// The window side of the progress channel: the status loop and the table loop, each on its
// own thread, acknowledging every event they take (also on their way out) so the worker never
// stays blocked. A ProgressView shows what they see; the GUI's progress window and the CLI's
// console both implement it.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "analysis/model.h"
#include "analysis/progress_channel.h"

namespace analysis {

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // Called on the loop threads; an implementation hands the change to its own thread if needed.
  virtual void statusChanged(const std::string& text) {}
  virtual void databaseNameChanged(const std::string& name) {}
  virtual void storageFormatChanged(const std::string& format) {}
  virtual void percentChanged(int percent) {}
  virtual void countsChanged(int tablesRead, int tablesTotal, int unnamedTables) {}
  // Called while the worker waits for the acknowledgement, so the record stays untouched.
  virtual void tableAdded(Table* table) {}
  virtual void queryAdded(Queries* query) {}
  // The status loop ended ("Recovery Completed"; the button becomes "Close").
  virtual void statusLoopEnded() {}
  // The table loop's first phase ended.
  virtual void tableLoopEnded() {}
};

class ProgressLoops {
 public:
  ProgressLoops(ProgressChannel& channel, ProgressView& view);
  ~ProgressLoops();
  ProgressLoops(const ProgressLoops&) = delete;
  ProgressLoops& operator=(const ProgressLoops&) = delete;

  // Starts the table thread, then the status thread.
  void start();
  // Ends both threads: the status loop must have ended (the analysis is over or was stopped);
  // the table thread's query phase is woken and leaves.
  void stop();

 private:
  void statusLoop();
  void tableLoop();
  void showPercent(int percent);

  ProgressChannel& channel_;
  ProgressView& view_;
  std::thread statusThread_;
  std::thread tableThread_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> lastPercent_{-1};
};

}  // namespace analysis
