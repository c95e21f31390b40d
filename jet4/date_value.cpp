// Calendar dates to the stored day count (proleptic Gregorian calendar).
#include "jet4/date_value.h"

namespace jet4 {

namespace {
bool isLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
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

}  // namespace jet4
