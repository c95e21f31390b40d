// Manual-reset event: an atomic flag with a short spin, then a condition variable.
#include "platform/manual_reset_event.h"

#include <thread>

namespace platform {

namespace {
// A handshake partner that is not answering within a few checks is rarely running on the other
// core: on a busy machine both threads of a handshake share one core, and every round spent
// spinning delays the partner. Measured on the page scan (56,519 round trips on two busy
// cores): 200 rounds of pause 0.45 s, 50 rounds 0.21 s, 4 rounds or none 0.12 s.
constexpr int kSpinRounds = 4;
constexpr int kYieldRounds = 50;

inline void cpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}
}  // namespace

ManualResetEvent::ManualResetEvent(std::string name) : name_(std::move(name)) {}

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
  for (int i = 0; i < kSpinRounds; ++i) {
    if (signalled_.load(std::memory_order_acquire)) return;
    cpuRelax();
  }
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
