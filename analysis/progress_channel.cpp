// Worker-side handshakes of the progress channel.
#include "analysis/progress_channel.h"

#include "platform/message_sink.h"

namespace analysis {

ProgressChannel::ProgressChannel() {
  resetEvents();
}

void ProgressChannel::setStatusText(const std::string& text) {
  std::function<void(const std::string&)> observer;
  {
    std::lock_guard<std::mutex> lock(textMutex_);
    statusText_ = text;
    if (!unattended_) pendingTexts_.push_back(text);
    observer = statusObserver_;
    textsVersion_.fetch_add(1, std::memory_order_release);
  }
  if (observer) observer(text);
}

void ProgressChannel::setStatusObserver(std::function<void(const std::string&)> observer) {
  std::lock_guard<std::mutex> lock(textMutex_);
  statusObserver_ = std::move(observer);
}

std::vector<std::string> ProgressChannel::takeStatusTexts() {
  std::lock_guard<std::mutex> lock(textMutex_);
  std::vector<std::string> texts;
  texts.swap(pendingTexts_);
  return texts;
}

std::string ProgressChannel::statusText() const {
  std::lock_guard<std::mutex> lock(textMutex_);
  return statusText_;
}

void ProgressChannel::setDatabaseName(const std::string& name) {
  std::lock_guard<std::mutex> lock(textMutex_);
  databaseName_ = name;
  textsVersion_.fetch_add(1, std::memory_order_release);
}

std::string ProgressChannel::databaseName() const {
  std::lock_guard<std::mutex> lock(textMutex_);
  return databaseName_;
}

void ProgressChannel::setStorageFormat(const std::string& format) {
  std::lock_guard<std::mutex> lock(textMutex_);
  storageFormat_ = format;
  textsVersion_.fetch_add(1, std::memory_order_release);
}

std::string ProgressChannel::storageFormat() const {
  std::lock_guard<std::mutex> lock(textMutex_);
  return storageFormat_;
}

bool ProgressChannel::publishStatus() {
  // Setting a set event again is only a store; the flag check spares even that per page.
  if (!updateProgStatusEvent.isSet()) updateProgStatusEvent.set();
  return aborted();
}

bool ProgressChannel::publishStatus(const std::string& text) {
  setStatusText(text);
  return publishStatus();
}

void ProgressChannel::handOver() {
  recoveryTblEvent.set();
  if (unattended_) return;
  updateProgTblEvent.wait();
  updateProgTblEvent.reset();
}

void ProgressChannel::fatalStop(const std::string& message) {
  abort = 1;
  recoveryTblEvent.set();
  platform::ShowMessageBox(message);
}

void ProgressChannel::reset() {
  abort = 0;
  done = 0;
  unnamedTables = 0;
  tablesTotal = 0;
  tablesRead = 0;
  queriesFound = 0;
  pagesTotal = 0;
  pagesRead = 0;
  tableToAdd = nullptr;
  queryToAdd = nullptr;
  setStatusText("");
  setStorageFormat("");
  takeStatusTexts();
  details.clear();
  resetEvents();
}

void ProgressChannel::resetEvents() {
  recoveryTblEvent.reset();
  updateProgTblEvent.reset();
  readPageEvent.reset();
  updateProgStatusEvent.reset();
}

ProgressChannel& TheProgressChannel() {
  static ProgressChannel channel;
  return channel;
}

}  // namespace analysis
