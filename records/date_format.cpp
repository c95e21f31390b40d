// DATE: a double counting days since 30 December 1899, its fraction the time of day, shown as
// "%m/%d/%Y %H:%M:%S" on the proleptic Gregorian calendar.
#include <cmath>
#include <string>

#include "format/calendar.h"
#include "records/value_text.h"

namespace records {

namespace {
constexpr int64_t kSecondsPerDay = 86400;
constexpr int kLastYear = 9999;
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
  const int64_t dayNumber = days + format::kDayZeroFromYearOne;
  if (dayNumber < 0) return "NULL";
  const format::CalendarDate date = format::DateFromDayNumber(dayNumber);
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
