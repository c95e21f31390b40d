// Calendar parts of "now": the UTC date and the local time, as the stamps in file names use them.
#pragma once

#include <functional>

namespace platform {

struct DateTimeParts {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

DateTimeParts UtcNow();
DateTimeParts LocalNow();

// Tests pin the clock; an empty function restores the real one.
void SetClockForTesting(std::function<DateTimeParts()> utc, std::function<DateTimeParts()> local);

}  // namespace platform
