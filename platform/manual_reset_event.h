// A process-local manual-reset event: stays signalled from set() until reset().
// Waiters check a few times, then yield their core, and sleep only when nothing comes: a
// strict set/wait handshake costs one thread switch each way, about a microsecond.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

namespace platform {

class ManualResetEvent {
 public:
  explicit ManualResetEvent(std::string name);
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  const std::string& name() const { return name_; }
  void set();
  void reset();
  // Waits without a time limit until the event is signalled.
  void wait();
  bool isSet() const { return signalled_.load(std::memory_order_acquire); }

 private:
  std::string name_;
  std::atomic<bool> signalled_{false};
  std::atomic<int> sleepers_{0};
  std::mutex mutex_;
  std::condition_variable wakeup_;
};

}  // namespace platform
