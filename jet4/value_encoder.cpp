// Encoding typed values per column type.
#include "jet4/value_encoder.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/engine.h"
#include "format/calendar.h"
#include "jet4/value_text.h"
#include "support/decimal_text.h"

namespace jet4 {

namespace {
using support::Value;
using support::ValueKind;

constexpr int64_t kTicksPerDay = 864000000000;  // 100-nanosecond ticks

[[noreturn]] void reject(const ColumnDef& column, const char* what) {
  throw engine::EngineError(std::string(what) + " does not fit column " + column.name);
}

bool isInteger(ValueKind kind) {
  return kind == ValueKind::kBoolean || kind == ValueKind::kByte || kind == ValueKind::kInt16 ||
         kind == ValueKind::kInt32 || kind == ValueKind::kInt64;
}

bool isReal(ValueKind kind) {
  return kind == ValueKind::kSingle || kind == ValueKind::kDouble || kind == ValueKind::kDate;
}

bool hasBytes(ValueKind kind) {
  return kind == ValueKind::kGuid || kind == ValueKind::kBinary || kind == ValueKind::kLongBinary;
}

FieldValue littleEndian(uint64_t value, size_t size) {
  FieldValue f{true, std::string(size, '\0')};
  for (size_t i = 0; i < size; ++i) f.bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return f;
}

FieldValue doubleBits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return littleEndian(bits, 8);
}

FieldValue singleBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return littleEndian(bits, 4);
}

// The shortest text that reads back as the same number; plain decimals (no exponent) when
// fixed is set, as NUMERIC and CURRENCY columns read only those.
std::string realText(const Value& value, bool fixed) {
  char text[400];
  const auto style = fixed ? std::chars_format::fixed : std::chars_format::general;
  const auto result = value.kind == ValueKind::kSingle
                          ? std::to_chars(text, text + sizeof text, static_cast<float>(value.real), style)
                          : std::to_chars(text, text + sizeof text, value.real, style);
  return std::string(text, result.ptr);
}

// The value as a plain decimal for the columns that read decimals; false for other kinds.
bool decimalText(const Value& value, std::string& text) {
  if (isInteger(value.kind))
    text = std::to_string(value.integer);
  else if (value.kind == ValueKind::kCurrency)
    text = support::CurrencyDecimal(value.integer);
  else if (value.kind == ValueKind::kNumeric)
    text = support::NumericDecimal(value.numeric);
  else if (value.kind == ValueKind::kSingle || value.kind == ValueKind::kDouble)
    text = std::isfinite(value.real) ? realText(value, true) : "";
  else
    return false;
  return !text.empty();
}

// The value as a number; false for kinds that are none.
bool numberOf(const Value& value, double& number) {
  if (isReal(value.kind))
    number = value.real;
  else if (isInteger(value.kind))
    number = static_cast<double>(value.integer);
  else if (value.kind == ValueKind::kCurrency)
    number = static_cast<double>(value.integer) / 10000.0;
  else if (value.kind == ValueKind::kNumeric)
    number = std::strtod(support::NumericDecimal(value.numeric).c_str(), nullptr);
  else
    return false;
  return true;
}

FieldValue wholeNumber(const ColumnDef& column, const Value& value, int64_t minimum, int64_t maximum, size_t size) {
  int64_t whole = 0;
  if (isInteger(value.kind)) {
    whole = value.integer;
  } else {
    double number;
    if (!numberOf(value, number) || !std::isfinite(number)) reject(column, "the value");
    number = std::nearbyint(number);  // to the nearest, ties to even
    if (number < static_cast<double>(minimum) || number > static_cast<double>(maximum)) reject(column, "the number");
    whole = static_cast<int64_t>(number);
  }
  if (whole < minimum || whole > maximum) reject(column, "the number");
  return littleEndian(static_cast<uint64_t>(whole), size);
}

FieldValue dateValue(const ColumnDef& column, const Value& value) {
  if (isReal(value.kind)) {
    if (!std::isfinite(value.real)) reject(column, "the date");
    return doubleBits(value.real);
  }
  if (value.kind != ValueKind::kDateExtended || value.integer < 0) reject(column, "the value");
  // Before day zero the whole days count back and the time of day stays a positive fraction.
  const int64_t days = value.integer / kTicksPerDay - format::kDayZeroFromYearOne;
  const double fraction = static_cast<double>(value.integer % kTicksPerDay) / static_cast<double>(kTicksPerDay);
  return doubleBits(days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction);
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" of 16 stored bytes (first three groups little-endian).
std::string guidText(const std::vector<uint8_t>& b) {
  char text[40];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2],
                b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return text;
}

// The text a non-text value gives in a TEXT or MEMO column; false when there is none.
bool textOf(const Value& value, std::string& text) {
  if (value.kind == ValueKind::kGuid && value.bytes.size() == 16) {
    text = guidText(value.bytes);
    return true;
  }
  if (value.kind == ValueKind::kSingle || value.kind == ValueKind::kDouble) {
    text = realText(value, false);
    return true;
  }
  return decimalText(value, text);
}

FieldValue bytesValue(const ColumnDef& column, const Value& value) {
  if (!hasBytes(value.kind)) reject(column, "the value");
  if (column.type == ColumnType::kGuid && value.bytes.size() != 16) reject(column, "the value");
  if (column.type == ColumnType::kBinary && value.bytes.size() > column.length) reject(column, "the binary value");
  return FieldValue{true, std::string(value.bytes.begin(), value.bytes.end())};
}
}  // namespace

FieldValue EncodeFieldValue(const ColumnDef& column, const Value& value) {
  if (value.isNull()) return FieldValue{};
  if (value.kind == ValueKind::kText) return ParseValueText(column, value.text);
  switch (column.type) {
    case ColumnType::kBool: {
      double number;
      if (!numberOf(value, number)) reject(column, "the value");
      return FieldValue{number != 0, {}};
    }
    // As for texts, a byte may come signed and an INT unsigned: the stored bits are the same.
    case ColumnType::kByte: return wholeNumber(column, value, -128, 255, 1);
    case ColumnType::kInt: return wholeNumber(column, value, -32768, 65535, 2);
    case ColumnType::kLong:
      return wholeNumber(column, value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 4);
    case ColumnType::kCurrency: {
      if (value.kind == ValueKind::kCurrency) return littleEndian(static_cast<uint64_t>(value.integer), 8);
      std::string text;
      if (!decimalText(value, text)) reject(column, "the value");
      return ParseValueText(column, text);
    }
    case ColumnType::kSingle: {
      double number;
      if (!numberOf(value, number)) reject(column, "the value");
      return singleBits(static_cast<float>(number));
    }
    case ColumnType::kDouble: {
      double number;
      if (!numberOf(value, number)) reject(column, "the value");
      return doubleBits(number);
    }
    case ColumnType::kDateTime: return dateValue(column, value);
    case ColumnType::kNumeric: {
      std::string text;
      if (!decimalText(value, text)) reject(column, "the value");
      return ParseValueText(column, text);
    }
    case ColumnType::kGuid:
    case ColumnType::kBinary:
    case ColumnType::kOle: return bytesValue(column, value);
    case ColumnType::kText:
    case ColumnType::kMemo: {
      std::string text;
      if (!textOf(value, text)) reject(column, "the value");
      return ParseValueText(column, text);
    }
  }
  reject(column, "the value");
}

}  // namespace jet4
