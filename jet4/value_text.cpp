// Parsing display texts per column type.
#include "jet4/value_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "engine/engine.h"
#include "format/calendar.h"
#include "format/text_codec.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
using Magnitude = unsigned __int128;

[[noreturn]] void reject(const ColumnDef& column, std::string_view text) {
  throw engine::EngineError("value \"" + std::string(text.substr(0, 64)) + "\" does not fit column " + column.name);
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// A decimal number scaled to a whole number of units of 10^-scale, rounded half to even
// (the engine's conversion); false when the text is no plain decimal or does not fit.
bool parseScaled(std::string_view s, int scale, bool& negative, Magnitude& magnitude) {
  s = trimmed(s);
  negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  constexpr Magnitude kLimit = Magnitude(1) << 120;
  magnitude = 0;
  int digits = 0, fractionDigits = 0;
  bool point = false;
  int firstDropped = -1;
  bool droppedNonZero = false;
  for (char c : s) {
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    ++digits;
    if (point && fractionDigits >= scale) {
      if (firstDropped < 0)
        firstDropped = c - '0';
      else if (c != '0')
        droppedNonZero = true;
      continue;
    }
    if (point) ++fractionDigits;
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (magnitude >= kLimit) return false;
  }
  if (digits == 0) return false;
  for (; fractionDigits < scale; ++fractionDigits) {
    magnitude *= 10;
    if (magnitude >= kLimit) return false;
  }
  if (firstDropped > 5 || (firstDropped == 5 && (droppedNonZero || (magnitude & 1) != 0))) ++magnitude;
  if (magnitude == 0) negative = false;
  return true;
}

// A whole number in [minimum, maximum].
bool parseInteger(std::string_view s, int64_t minimum, int64_t maximum, int64_t& value) {
  bool negative;
  Magnitude magnitude;
  if (!parseScaled(s, 0, negative, magnitude) || magnitude > Magnitude(1) << 63) return false;
  value = negative ? -static_cast<int64_t>(magnitude - 1) - 1 : static_cast<int64_t>(magnitude);
  if (!negative && magnitude == Magnitude(1) << 63) return false;
  return value >= minimum && value <= maximum;
}

FieldValue littleEndian(uint64_t value, size_t size) {
  FieldValue f{true, std::string(size, '\0')};
  for (size_t i = 0; i < size; ++i) f.bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return f;
}

template <typename Float>
bool parseFloat(std::string_view s, Float& value) {
  s = trimmed(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size();
}

FieldValue floatValue(const ColumnDef& column, std::string_view text) {
  if (column.type == ColumnType::kSingle) {
    float value;
    if (!parseFloat(text, value)) reject(column, text);
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return littleEndian(bits, 4);
  }
  double value;
  if (!parseFloat(text, value)) reject(column, text);
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return littleEndian(bits, 8);
}

bool parseField(std::string_view& s, int minDigits, int maxDigits, int& value, int* digitsRead = nullptr) {
  int digits = 0;
  value = 0;
  while (digits < maxDigits && !s.empty() && std::isdigit(static_cast<unsigned char>(s.front()))) {
    value = value * 10 + (s.front() - '0');
    s.remove_prefix(1);
    ++digits;
  }
  if (digitsRead) *digitsRead = digits;
  return digits >= minDigits && (s.empty() || !std::isdigit(static_cast<unsigned char>(s.front())));
}

bool expect(std::string_view& s, char c) {
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

// "MM/DD/YYYY[ HH:MM:SS]" (also with a two-digit year: 30..99 are 19xx, 00..29 are 20xx) or
// "YYYY-MM-DD[ HH:MM:SS]".
bool parseDate(std::string_view s, format::CalendarTime& t) {
  s = trimmed(s);
  int first = 0, digits = 0;
  if (!parseField(s, 1, 4, first, &digits)) return false;
  if (digits == 4 && expect(s, '-')) {
    t.year = first;
    if (!parseField(s, 1, 2, t.month) || !expect(s, '-') || !parseField(s, 1, 2, t.day)) return false;
  } else {
    t.month = first;
    int yearDigits = 0;
    if (digits > 2 || !expect(s, '/') || !parseField(s, 1, 2, t.day) || !expect(s, '/') ||
        !parseField(s, 2, 4, t.year, &yearDigits) || yearDigits == 3)
      return false;
    if (yearDigits == 2) t.year += t.year < 30 ? 2000 : 1900;
  }
  t.hour = t.minute = t.second = 0;
  if (!s.empty()) {
    if (!std::isspace(static_cast<unsigned char>(s.front()))) return false;
    s = trimmed(s);
    if (!parseField(s, 1, 2, t.hour) || !expect(s, ':') || !parseField(s, 1, 2, t.minute) || !expect(s, ':') ||
        !parseField(s, 1, 2, t.second) || !s.empty())
      return false;
  }
  return t.year >= 100 && t.year <= 9999 && format::IsValidCalendarTime(t);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool parseHex(std::string_view s, std::string& out) {
  if (s.size() % 2 != 0) return false;
  out.clear();
  for (size_t i = 0; i < s.size(); i += 2) {
    const int high = hexDigit(s[i]), low = hexDigit(s[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
  }
  return true;
}

// The 16 stored bytes: the first three groups little-endian, the last eight as written.
bool parseGuid(std::string_view s, std::string& out) {
  s = trimmed(s);
  if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
  if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-') return false;
  std::string hex;
  for (char c : s)
    if (c != '-') hex += c;
  std::string bytes;
  if (!parseHex(hex, bytes)) return false;
  out = bytes;
  for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = bytes[static_cast<size_t>(3 - i)];
  out[4] = bytes[5], out[5] = bytes[4];
  out[6] = bytes[7], out[7] = bytes[6];
  return true;
}

// Byte 0 the sign (0x80 negative), then the magnitude as four u32 little-endian words, the
// most significant first.
FieldValue numericValue(const ColumnDef& column, std::string_view text) {
  bool negative;
  Magnitude magnitude;
  if (!parseScaled(text, column.scale, negative, magnitude)) reject(column, text);
  Magnitude limit = 1;
  for (int i = 0; i < column.precision; ++i) limit *= 10;
  if (magnitude >= limit) reject(column, text);
  FieldValue f{true, std::string(17, '\0')};
  f.bytes[0] = negative ? static_cast<char>(0x80) : '\0';
  for (int word = 0; word < 4; ++word)
    Put32(f.bytes, 1 + 4 * static_cast<size_t>(3 - word), static_cast<uint32_t>(magnitude >> (32 * word)));
  return f;
}

FieldValue currencyValue(const ColumnDef& column, std::string_view text) {
  bool negative;
  Magnitude magnitude;
  constexpr Magnitude kMax = static_cast<Magnitude>(std::numeric_limits<int64_t>::max());
  if (!parseScaled(text, 4, negative, magnitude) || magnitude > kMax + (negative ? 1 : 0)) reject(column, text);
  const uint64_t units = static_cast<uint64_t>(magnitude);
  return littleEndian(negative ? ~units + 1 : units, 8);
}

FieldValue boolValue(const ColumnDef& column, std::string_view text) {
  std::string word(trimmed(text));
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "1" || word == "-1" || word == "true" || word == "yes") return FieldValue{true, {}};
  if (word == "0" || word == "false" || word == "no") return FieldValue{false, {}};
  reject(column, text);
}

FieldValue integerValue(const ColumnDef& column, std::string_view text, int64_t minimum, int64_t maximum, size_t size) {
  int64_t value;
  if (!parseInteger(text, minimum, maximum, value)) reject(column, text);
  return littleEndian(static_cast<uint64_t>(value), size);
}
}  // namespace

FieldValue ParseValueText(const ColumnDef& column, std::string_view text) {
  switch (column.type) {
    case ColumnType::kBool: return boolValue(column, text);
    case ColumnType::kByte: return integerValue(column, text, -128, 255, 1);
    case ColumnType::kInt: return integerValue(column, text, -32768, 65535, 2);
    case ColumnType::kLong:
      return integerValue(column, text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 4);
    case ColumnType::kCurrency: return currencyValue(column, text);
    case ColumnType::kSingle:
    case ColumnType::kDouble: return floatValue(column, text);
    case ColumnType::kDateTime: {
      format::CalendarTime time;
      if (!parseDate(text, time)) reject(column, text);
      const double days = format::ToDayCount(time);
      uint64_t bits;
      std::memcpy(&bits, &days, sizeof bits);
      return littleEndian(bits, 8);
    }
    case ColumnType::kGuid: {
      FieldValue f{true, {}};
      if (!parseGuid(text, f.bytes)) reject(column, text);
      return f;
    }
    case ColumnType::kNumeric: return numericValue(column, text);
    case ColumnType::kBinary: {
      FieldValue f{true, {}};
      if (!parseHex(trimmed(text), f.bytes) || f.bytes.size() > column.length) reject(column, text);
      return f;
    }
    case ColumnType::kText: {
      const std::u16string value = format::Utf8ToUtf16(text);
      if (value.size() * 2 > column.length) reject(column, text);
      return FieldValue{true, format::EncodeText(value, (column.extFlags & kColumnCompressed) != 0)};
    }
    case ColumnType::kMemo:
      return FieldValue{true,
                        format::EncodeText(format::Utf8ToUtf16(text), (column.extFlags & kColumnCompressed) != 0)};
    case ColumnType::kOle: return FieldValue{true, std::string(text)};
  }
  reject(column, text);
}

}  // namespace jet4
