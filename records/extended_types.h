// Values of the types newer files add beyond Jet 4: Large Number (a signed 64-bit integer) and
// Date/Time Extended (a date of the years 1 to 9999 with 100-nanosecond precision).
//
// Date/Time Extended, 42 bytes of ASCII text (fixed storage):
//    0  19  days since 0001-01-01 (proleptic Gregorian), decimal, zero-padded
//   19   1  ':'
//   20  12  seconds since midnight, zero-padded
//   32   7  fraction of the second in units of 100 ns
//   39   3  ':' '7' NUL (the count of fraction digits)
#pragma once

#include <cstdint>
#include <string>

#include "support/byte_view.h"
#include "support/value.h"

namespace records {

constexpr int kTypeLargeNumber = 0x13;
constexpr int kTypeDateExtended = 0x14;
constexpr int64_t kLargeNumberSize = 8;
constexpr int64_t kDateExtendedSize = 42;
constexpr int kExtendedDateIsoLength = 27;  // "YYYY-MM-DDThh:mm:ss.fffffff"

// kInt64, or kNull when the 8 bytes are not there.
support::Value DecodeLargeNumber(support::ByteView value);

// kDateExtended (ticks of 100 ns since 0001-01-01 00:00:00), or kNull when the text is not a
// date of the years 1 to 9999 (a damaged value is never turned into a wrong date).
support::Value DecodeExtendedDate(support::ByteView value);

// "MM/DD/YYYY hh:mm:ss.fffffff", the grid's date form with the seven fraction digits.
std::string ExtendedDateText(int64_t ticks);
// "YYYY-MM-DDThh:mm:ss.fffffff" (ISO 8601), for targets that have no such type.
std::string ExtendedDateIsoText(int64_t ticks);

// The display texts of the two types; "NULL" when the value does not decode.
std::string FormatLargeNumber(support::ByteView page, int64_t position);
std::string FormatExtendedDate(support::ByteView page, int64_t position);

}  // namespace records
