// DATE: a double counting days since 30 December 1899, its fraction the time of day, shown as
// "%m/%d/%Y %H:%M:%S" on the proleptic Gregorian calendar.
#include <algorithm>
#include <cmath>
#include <string>

#include "records/value_text.h"

namespace records {

namespace {
constexpr int64_t kEpochFromYearOne = 693593;  // days from 1 January of year 1 to 30 December 1899
constexpr int64_t kDaysPer400Years = 146097;
constexpr int64_t kDaysPer100Years = 36524;
constexpr int64_t kDaysPer4Years = 1461;
constexpr int64_t kDaysPerYear = 365;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int kLastYear = 9999;

constexpr int kMonthStarts[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

bool isLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

struct CalendarDate {
  int64_t year;
  int month;  // 1 to 12
  int day;    // 1 to 31
};

// n counts days from 1 January of year 1 (n >= 0).
CalendarDate dateFromDayNumber(int64_t n) {
  int64_t year = 400 * (n / kDaysPer400Years);
  n %= kDaysPer400Years;
  const int64_t centuries = std::min<int64_t>(n / kDaysPer100Years, 3);
  year += 100 * centuries;
  n -= centuries * kDaysPer100Years;
  year += 4 * (n / kDaysPer4Years);
  n %= kDaysPer4Years;
  const int64_t years = std::min<int64_t>(n / kDaysPerYear, 3);
  year += years + 1;
  n -= years * kDaysPerYear;
  const int* starts = kMonthStarts[isLeapYear(year) ? 1 : 0];
  int month = 1;
  while (month < 12 && n >= starts[month]) ++month;
  return {year, month, static_cast<int>(n - starts[month - 1] + 1)};
}
}  // namespace

std::string DateText(double value) {
  // Far outside the calendar's years (also NaN): no date.
  if (!(std::fabs(value) < 4.0e6)) return "NULL";
  int64_t days = static_cast<int64_t>(value);  // toward zero: before the epoch the time counts forward too
  int64_t seconds = static_cast<int64_t>(std::fabs(value - static_cast<double>(days)) * kSecondsPerDay + 0.5);
  if (seconds >= kSecondsPerDay) {  // rounded up to midnight: the next day
    seconds -= kSecondsPerDay;
    days += 1;
  }
  const int64_t dayNumber = days + kEpochFromYearOne;
  if (dayNumber < 0) return "NULL";
  const CalendarDate date = dateFromDayNumber(dayNumber);
  if (date.year > kLastYear) return "NULL";
  // "%02d/%02d/%04d %02d:%02d:%02d", written by hand: every part is non-negative and fits its width.
  char out[] = "MM/DD/YYYY hh:mm:ss";
  const auto put = [&out](size_t at, int64_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10)
      out[at + static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(0, date.month, 2);
  put(3, date.day, 2);
  put(6, date.year, 4);
  put(11, seconds / 3600, 2);
  put(14, seconds / 60 % 60, 2);
  put(17, seconds % 60, 2);
  return out;
}

}  // namespace records
