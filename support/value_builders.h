// Short ways to make a support::Value of one kind, for code that makes values itself (tests,
// the catalog copy, benchmarks) rather than decoding them from a row.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/value.h"

namespace support {

inline Value TextValue(std::string text) {
  Value value;
  value.kind = ValueKind::kText;
  value.text = std::move(text);
  return value;
}

// kBoolean, kByte, kInt16, kInt32, kInt64, kCurrency (ten-thousandths) or kDateExtended (ticks).
inline Value IntegerValue(ValueKind kind, int64_t integer) {
  Value value;
  value.kind = kind;
  value.integer = integer;
  return value;
}

// kSingle, kDouble or kDate (the stored day count).
inline Value RealValue(ValueKind kind, double real) {
  Value value;
  value.kind = kind;
  value.real = real;
  return value;
}

// kGuid, kBinary or kLongBinary.
inline Value BytesValue(ValueKind kind, std::vector<uint8_t> bytes) {
  Value value;
  value.kind = kind;
  value.bytes = std::move(bytes);
  return value;
}

inline Value NumericOf(bool negative, uint8_t precision, uint8_t scale, std::string digits) {
  Value value;
  value.kind = ValueKind::kNumeric;
  value.numeric = NumericValue{negative, precision, scale, std::move(digits)};
  return value;
}

}  // namespace support
