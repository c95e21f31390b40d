// The stored date form: a double counting days since 30 December 1899, the fraction being
// the time of day. Before that day the whole days count back and the time of day is taken
// as a positive fraction of the day: -1.5 is 29 December 1899 at 12:00.
#pragma once

#include <cstdint>

namespace jet4 {

struct CalendarTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// False for a day that does not exist (month 13, 30 February, ...) or a time outside 0..23:59:59.
bool IsValidCalendarTime(const CalendarTime& time);
double ToDayCount(const CalendarTime& time);

}  // namespace jet4
