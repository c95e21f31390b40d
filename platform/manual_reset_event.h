// A process-local manual-reset event: stays signalled from set() until reset().
// Waiters spin for a while, then yield their core, and sleep only when nothing comes. How long
// they spin adapts to the machine: a partner on the other core answers within the spin, while on
// a busy machine both threads of a handshake share one core and spinning only delays it.
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
  std::atomic<int> spinRounds_;
  std::mutex mutex_;
  std::condition_variable wakeup_;
};

}  // namespace platform
