// The stored date form and the calendar: a double counting days since 30 December 1899, the
// fraction being the time of day, on the proleptic Gregorian calendar. Before that day the
// whole days count back and the time of day is taken as a positive fraction of the day: -1.5
// is 29 December 1899 at 12:00.
#pragma once

#include <cstdint>

namespace format {

constexpr int64_t kDayZeroFromYearOne = 693593;  // days from 1 January of year 1 to 30 December 1899

struct CalendarTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct CalendarDate {
  int64_t year;
  int month;  // 1 to 12
  int day;    // 1 to 31
};

// False for a day that does not exist (month 13, 30 February, ...) or a time outside 0..23:59:59.
bool IsValidCalendarTime(const CalendarTime& time);
// The stored day count of a valid calendar time.
double ToDayCount(const CalendarTime& time);
// The date of day number n, counted from 1 January of year 1 (n >= 0).
CalendarDate DateFromDayNumber(int64_t n);

}  // namespace format
