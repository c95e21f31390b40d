// System clock split into calendar parts, with a test override.
#include "platform/clock.h"

#include <ctime>
#include <mutex>

namespace platform {

namespace {
std::mutex g_clockMutex;
std::function<DateTimeParts()> g_utcOverride;
std::function<DateTimeParts()> g_localOverride;

DateTimeParts fromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
}  // namespace

DateTimeParts UtcNow() {
  {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    if (g_utcOverride) return g_utcOverride();
  }
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  return fromTm(tm);
}

DateTimeParts LocalNow() {
  {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    if (g_localOverride) return g_localOverride();
  }
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return fromTm(tm);
}

void SetClockForTesting(std::function<DateTimeParts()> utc, std::function<DateTimeParts()> local) {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  g_utcOverride = std::move(utc);
  g_localOverride = std::move(local);
}

}  // namespace platform
