// Large Number and Date/Time Extended: decoding and their texts.
#include "records/extended_types.h"

#include <cstdio>

namespace records {

namespace {
constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsPerDay = 86'400;
constexpr int64_t kTicksPerDay = kTicksPerSecond * kSecondsPerDay;
constexpr int64_t kDaysToYear10000 = 3'652'059;  // days from 0001-01-01 to 10000-01-01

// The decimal number in value[at, at + digits), or -1 when a character is not a digit.
int64_t digitsAt(support::ByteView value, int64_t at, int digits) {
  int64_t number = 0;
  for (int i = 0; i < digits; ++i) {
    const uint8_t c = value.u8(at + i);
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

struct Civil {
  int64_t year;
  int month;
  int day;
};

// Days since 0001-01-01 to a calendar date (Gregorian cycles of 400, 100, 4 and 1 years).
Civil civilFromDays(int64_t n) {
  static constexpr int kMonthStarts[2][13] = {
      {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
      {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
  };
  int64_t year = 400 * (n / 146097);
  n %= 146097;
  const int64_t centuries = n / 36524 < 3 ? n / 36524 : 3;
  year += 100 * centuries;
  n -= centuries * 36524;
  year += 4 * (n / 1461);
  n %= 1461;
  const int64_t years = n / 365 < 3 ? n / 365 : 3;
  year += years + 1;
  n -= years * 365;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int* starts = kMonthStarts[leap ? 1 : 0];
  int month = 1;
  while (month < 12 && n >= starts[month]) ++month;
  return {year, month, static_cast<int>(n - starts[month - 1] + 1)};
}

std::string dateText(int64_t ticks, bool iso) {
  if (ticks < 0 || ticks / kTicksPerDay >= kDaysToYear10000) return "NULL";
  const Civil date = civilFromDays(ticks / kTicksPerDay);
  const int64_t inDay = ticks % kTicksPerDay;
  const int64_t seconds = inDay / kTicksPerSecond;
  const auto fraction = static_cast<long long>(inDay % kTicksPerSecond);
  const auto hh = static_cast<int>(seconds / 3600), mm = static_cast<int>(seconds / 60 % 60),
             ss = static_cast<int>(seconds % 60);
  char out[48];
  if (iso)
    std::snprintf(out, sizeof out, "%04d-%02d-%02dT%02d:%02d:%02d.%07lld", static_cast<int>(date.year), date.month,
                  date.day, hh, mm, ss, fraction);
  else
    std::snprintf(out, sizeof out, "%02d/%02d/%04d %02d:%02d:%02d.%07lld", date.month, date.day,
                  static_cast<int>(date.year), hh, mm, ss, fraction);
  return out;
}
}  // namespace

support::Value DecodeLargeNumber(support::ByteView value) {
  support::Value out;
  if (!value.contains(0, kLargeNumberSize)) return out;
  out.kind = support::ValueKind::kInt64;
  out.integer = static_cast<int64_t>(value.u64(0));
  return out;
}

support::Value DecodeExtendedDate(support::ByteView value) {
  support::Value out;
  if (!value.contains(0, kDateExtendedSize - 3)) return out;  // the ":7" trailer is not needed
  const int64_t days = digitsAt(value, 0, 19);
  const int64_t seconds = digitsAt(value, 20, 12);
  const int64_t fraction = digitsAt(value, 32, 7);
  if (value.u8(19) != ':' || days < 0 || seconds < 0 || fraction < 0) return out;
  if (days >= kDaysToYear10000 || seconds >= kSecondsPerDay) return out;
  out.kind = support::ValueKind::kDateExtended;
  out.integer = days * kTicksPerDay + seconds * kTicksPerSecond + fraction;
  return out;
}

std::string ExtendedDateText(int64_t ticks) {
  return dateText(ticks, false);
}

std::string ExtendedDateIsoText(int64_t ticks) {
  return dateText(ticks, true);
}

std::string FormatLargeNumber(support::ByteView page, int64_t position) {
  const support::Value value = DecodeLargeNumber(page.slice(position, kLargeNumberSize));
  return value.isNull() ? "NULL" : std::to_string(value.integer);
}

std::string FormatExtendedDate(support::ByteView page, int64_t position) {
  const support::Value value = DecodeExtendedDate(page.from(position));
  return value.isNull() ? "NULL" : ExtendedDateText(value.integer);
}

}  // namespace records
