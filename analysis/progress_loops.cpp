// Status and table loops of the progress window, without widgets.
#include "analysis/progress_loops.h"

#include <chrono>

namespace analysis {

namespace {
constexpr std::chrono::milliseconds kRefreshInterval{20};
}  // namespace

ProgressLoops::ProgressLoops(ProgressChannel& channel, ProgressView& view) : channel_(channel), view_(view) {}

ProgressLoops::~ProgressLoops() {
  stop();
}

void ProgressLoops::start() {
  stopping_ = false;
  lastPercent_ = -1;
  tableThread_ = std::thread([this] { tableLoop(); });
  statusThread_ = std::thread([this] { statusLoop(); });
}

void ProgressLoops::stop() {
  if (!statusThread_.joinable() && !tableThread_.joinable()) return;
  // Called once the worker is finished; loops that are still in their first phase leave on abort.
  if (!channel_.done && !channel_.aborted()) channel_.abort = 1;
  stopping_ = true;
  channel_.updateProgStatusEvent.set();
  channel_.recoveryTblEvent.set();
  if (statusThread_.joinable()) statusThread_.join();
  if (tableThread_.joinable()) tableThread_.join();
}

void ProgressLoops::showPercent(int percent) {
  if (lastPercent_.exchange(percent) != percent) view_.percentChanged(percent);
}

void ProgressLoops::statusLoop() {
  std::string lastStatus, lastName, lastFormat;
  uint32_t seenTexts = channel_.textsVersion() - 1;
  // Every status text in the order written, then the latest name and format; texts are copied
  // only when the channel's texts version moved (during the page scan only counters change).
  auto showTexts = [&] {
    const uint32_t texts = channel_.textsVersion();
    if (texts == seenTexts) return;
    seenTexts = texts;
    for (std::string& status : channel_.takeStatusTexts())
      if (status != lastStatus) view_.statusChanged(lastStatus = std::move(status));
    std::string name = channel_.databaseName();
    if (name != lastName) view_.databaseNameChanged(lastName = name);
    std::string storage = channel_.storageFormat();
    if (storage != lastFormat) view_.storageFormatChanged(lastFormat = storage);
  };
  bool pagePhase = true;
  for (;;) {
    channel_.updateProgStatusEvent.wait();
    channel_.updateProgStatusEvent.reset();
    showTexts();
    if (channel_.abort || channel_.done) break;
    if (pagePhase) {
      const int total = channel_.pagesTotal, read = channel_.pagesRead;
      if (total > 0) showPercent(static_cast<int>(static_cast<int64_t>(read) * 25 / total));
      if (read > 0 && read == total) {
        pagePhase = false;
        channel_.pagesRead = 0;
        channel_.pagesTotal = 0;
      }
    }
    channel_.readPageEvent.set();
    // The worker never waits for this loop: whatever it published meanwhile is shown at the
    // next refresh, and a busy machine spends its cores on the scan.
    std::this_thread::sleep_for(kRefreshInterval);
  }
  showPercent(100);
  channel_.recoveryTblEvent.set();
  channel_.readPageEvent.set();
  channel_.updateProgTblEvent.set();
  view_.statusChanged("Recovery Completed");
  view_.statusLoopEnded();

  while (!stopping_) {
    channel_.updateProgStatusEvent.wait();
    channel_.updateProgStatusEvent.reset();
    channel_.readPageEvent.set();
  }
}

void ProgressLoops::tableLoop() {
  for (;;) {
    channel_.recoveryTblEvent.wait();
    channel_.recoveryTblEvent.reset();
    if (channel_.abort || channel_.done) break;
    int total = channel_.tablesTotal;
    int read = channel_.tablesRead;
    if (read > total) channel_.tablesRead = read = total;
    view_.countsChanged(read, total, channel_.unnamedTables);
    if (total > 0) showPercent(static_cast<int>(static_cast<int64_t>(read) * 50 / total));
    if (Table* table = channel_.tableToAdd.exchange(nullptr)) view_.tableAdded(table);
    channel_.updateProgTblEvent.set();
  }
  showPercent(100);
  view_.tableLoopEnded();
  channel_.updateProgTblEvent.set();
  channel_.readPageEvent.set();

  // Query phase: runs until the owner stops the loops.
  while (!stopping_) {
    channel_.recoveryTblEvent.wait();
    channel_.recoveryTblEvent.reset();
    if (Queries* query = channel_.queryToAdd.exchange(nullptr)) view_.queryAdded(query);
    channel_.updateProgTblEvent.set();
  }
}

}  // namespace analysis
