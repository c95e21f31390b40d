// DATE: a double counting days since 30 December 1899, its fraction the time of day, shown as
// "%m/%d/%Y %H:%M:%S" on the proleptic Gregorian calendar.
#include <cmath>
#include <string>

#include "format/calendar.h"
#include "records/value_text.h"

namespace records {

namespace {
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kMicrosPerSecond = 1000000;
constexpr int64_t kMicrosPerDay = kSecondsPerDay * kMicrosPerSecond;
constexpr int kLastYear = 9999;
}  // namespace

std::string DateText(double value, bool withFraction) {
  // Far outside the calendar's years (also NaN): no date.
  if (!(std::fabs(value) < 4.0e6)) return "NULL";
  int64_t days = static_cast<int64_t>(value);  // toward zero: before the epoch the time counts forward too
  const double fraction = std::fabs(value - static_cast<double>(days));
  // The time of day in microseconds; without the fraction, rounded to the second.
  int64_t micros = withFraction ? std::llround(fraction * kMicrosPerDay)
                                : static_cast<int64_t>(fraction * kSecondsPerDay + 0.5) * kMicrosPerSecond;
  if (micros >= kMicrosPerDay) {  // rounded up to midnight: the next day
    micros -= kMicrosPerDay;
    days += 1;
  }
  const int64_t dayNumber = days + format::kDayZeroFromYearOne;
  if (dayNumber < 0) return "NULL";
  const format::CalendarDate date = format::DateFromDayNumber(dayNumber);
  if (date.year > kLastYear) return "NULL";
  // "%02d/%02d/%04d %02d:%02d:%02d.%06d", written by hand: every part is non-negative and fits its width.
  char out[] = "MM/DD/YYYY hh:mm:ss.ffffff";
  const auto put = [&out](size_t at, int64_t part, int digits) {
    for (int i = digits - 1; i >= 0; --i, part /= 10)
      out[at + static_cast<size_t>(i)] = static_cast<char>('0' + part % 10);
  };
  const int64_t seconds = micros / kMicrosPerSecond;
  put(0, date.month, 2);
  put(3, date.day, 2);
  put(6, date.year, 4);
  put(11, seconds / 3600, 2);
  put(14, seconds / 60 % 60, 2);
  put(17, seconds % 60, 2);
  size_t length = 19;  // through the seconds
  if (micros % kMicrosPerSecond != 0) {
    put(20, micros % kMicrosPerSecond, 6);
    length = 26;
    while (out[length - 1] == '0') --length;  // 12:00:00.5, not 12:00:00.500000
  }
  return std::string(out, length);
}

}  // namespace records
