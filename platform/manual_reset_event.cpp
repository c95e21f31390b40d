// Manual-reset event: an atomic flag with a short spin, then a condition variable.
#include "platform/manual_reset_event.h"

#include <algorithm>
#include <thread>

namespace platform {

namespace {
// The spin budget doubles each time the partner answers within it and halves each time it does
// not. Measured on the page scan (56,519 round trips): on an idle machine 4 rounds give 0.19 s
// and 5000 rounds 0.08-0.10 s; with both cores busy 200 rounds give 0.45 s and 4 rounds 0.12 s.
constexpr int kMinSpinRounds = 4;
constexpr int kMaxSpinRounds = 8192;
constexpr int kYieldRounds = 50;

inline void cpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}
}  // namespace

ManualResetEvent::ManualResetEvent(std::string name) : name_(std::move(name)), spinRounds_(kMinSpinRounds) {}

void ManualResetEvent::set() {
  // Sequentially consistent on both sides: either the waiter sees the flag or
  // the setter sees the sleeper, so no wake-up is lost.
  signalled_.store(true);
  if (sleepers_.load() > 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    wakeup_.notify_all();
  }
}

void ManualResetEvent::reset() { signalled_.store(false, std::memory_order_release); }

void ManualResetEvent::wait() {
  const int budget = spinRounds_.load(std::memory_order_relaxed);
  for (int i = 0; i < budget; ++i) {
    if (signalled_.load(std::memory_order_acquire)) {
      if (i > 0) spinRounds_.store(std::min(budget * 2, kMaxSpinRounds), std::memory_order_relaxed);
      return;
    }
    cpuRelax();
  }
  spinRounds_.store(std::max(budget - budget / 8, kMinSpinRounds), std::memory_order_relaxed);
  // The other side most likely needs this core: give it up, and sleep only when it stays silent.
  for (int i = 0; i < kYieldRounds; ++i) {
    if (signalled_.load(std::memory_order_acquire)) return;
    std::this_thread::yield();
  }
  std::unique_lock<std::mutex> lock(mutex_);
  sleepers_.fetch_add(1);
  wakeup_.wait(lock, [this] { return signalled_.load(); });
  sleepers_.fetch_sub(1);
}

}  // namespace platform
