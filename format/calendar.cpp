// Calendar dates to and from day numbers.
#include "format/calendar.h"

#include <algorithm>

namespace format {

namespace {
constexpr int64_t kDaysPer400Years = 146097;
constexpr int64_t kDaysPer100Years = 36524;
constexpr int64_t kDaysPer4Years = 1461;
constexpr int64_t kDaysPerYear = 365;

constexpr int kMonthStarts[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

bool isLeap(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  return kMonthStarts[isLeap(year) ? 1 : 0][month] - kMonthStarts[isLeap(year) ? 1 : 0][month - 1];
}

// Days from 1 January 1970 to the date (negative before it).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}
}  // namespace

bool IsValidCalendarTime(const CalendarTime& t) {
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month)) return false;
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

double ToDayCount(const CalendarTime& t) {
  const int64_t days = daysFromCivil(t.year, t.month, t.day) - daysFromCivil(1899, 12, 30);
  const double fraction = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

CalendarDate DateFromDayNumber(int64_t n) {
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
  const int* starts = kMonthStarts[isLeap(year) ? 1 : 0];
  int month = 1;
  while (month < 12 && n >= starts[month]) ++month;
  return {year, month, static_cast<int>(n - starts[month - 1] + 1)};
}

}  // namespace format
