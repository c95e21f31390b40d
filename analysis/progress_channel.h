// The one record shared by the analysis worker and the window side (progress window, record
// loader, export). Table and query hand-overs are strictly paired handshakes over manual-reset
// events (the worker blocks until the window side took the item); page counters and status
// texts are published without waiting, and the window shows them at its own refresh rate.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/model.h"
#include "platform/manual_reset_event.h"

namespace analysis {

class ProgressChannel {
 public:
  ProgressChannel();

  platform::ManualResetEvent recoveryTblEvent{"RecoveryTblEvent"};
  platform::ManualResetEvent updateProgTblEvent{"UpdateProgTblEvent"};
  platform::ManualResetEvent readPageEvent{"ReadPageEvent"};
  platform::ManualResetEvent updateProgStatusEvent{"UpdateProgStatusEvent"};

  std::atomic<uint8_t> abort{0};
  std::atomic<uint8_t> done{0};
  std::atomic<int32_t> unnamedTables{0};
  std::atomic<int32_t> tablesTotal{0};
  std::atomic<int32_t> tablesRead{0};
  std::atomic<int32_t> queriesFound{0};
  std::atomic<int32_t> pagesTotal{0};
  std::atomic<int32_t> pagesRead{0};
  std::atomic<Table*> tableToAdd{nullptr};
  std::atomic<Queries*> queryToAdd{nullptr};

  // Texts are read by the window side between the worker's set and its own acknowledgement,
  // and also by a window that refreshes on its own; the lock makes both safe.
  void setStatusText(const std::string& text);
  std::string statusText() const;
  // The status texts written since the last call, oldest first: the window lists every one
  // even when several were written between two of its refreshes.
  std::vector<std::string> takeStatusTexts();
  // Sees every status text as it is written (the CLI records them all).
  void setStatusObserver(std::function<void(const std::string&)> observer);
  void setDatabaseName(const std::string& name);
  std::string databaseName() const;
  void setStorageFormat(const std::string& format);
  std::string storageFormat() const;
  // Grows with every change of a text above: the window side copies the texts only when it moved.
  uint32_t textsVersion() const { return textsVersion_.load(std::memory_order_acquire); }

  // The record buffer that record retrieval fills (100 texts for one screen).
  std::vector<std::string> details;

  // Worker side.
  // Sets "UpdateProgStatusEvent" (never waits: a busy machine must not slow the scan down to
  // the window's pace); returns abort.
  bool publishStatus();
  bool publishStatus(const std::string& text);
  // Sets "RecoveryTblEvent", waits for and resets "UpdateProgTblEvent".
  void handOver();
  // Sets abort and "RecoveryTblEvent", then shows the message.
  void fatalStop(const std::string& message);

  bool aborted() const { return abort.load() != 0; }

  // With no window side at all (fuzzing, batch tools), publications do not wait for an
  // acknowledgement that would never come.
  void setUnattended(bool unattended) { unattended_ = unattended; }

  // Clears flags, counters, texts and the table and query being handed over, and resets all
  // four events: ready for the next analysis.
  void reset();
  void resetEvents();

 private:
  std::atomic<bool> unattended_{false};
  std::atomic<uint32_t> textsVersion_{0};
  mutable std::mutex textMutex_;
  std::string statusText_;
  std::vector<std::string> pendingTexts_;
  std::string databaseName_;
  std::string storageFormat_;
  std::function<void(const std::string&)> statusObserver_;
};

// The program's one channel (the GUI's and the CLI's); tests make their own.
ProgressChannel& TheProgressChannel();

}  // namespace analysis
