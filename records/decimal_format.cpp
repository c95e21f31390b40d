// CURRENCY and NUMERIC: exact decimal texts of scaled integers.
#include <algorithm>
#include <string>

#include "records/value_format.h"

namespace records {

namespace {
constexpr int kCurrencyDecimals = 4;
constexpr int kCurrencyMinDigits = 5;  // 0.0005, never .0005
constexpr int kMaxNumericWidth = 64;   // precision and scale are single bytes; wider is damage

using Magnitude = unsigned __int128;

std::string decimalDigits(Magnitude value) {
  std::string digits;
  do {
    digits += static_cast<char>('0' + static_cast<int>(value % 10));
    value /= 10;
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string zeroPadded(std::string digits, size_t width) {
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}
}  // namespace

// A signed 64-bit count of ten-thousandths.
int FormatCurrency(support::ByteView page, int64_t position, std::string& text) {
  if (!page.contains(position, 8)) {
    text.clear();
    return 0;
  }
  const uint64_t bits = page.u64(position);
  const bool negative = (bits >> 63) != 0;
  const uint64_t magnitude = negative ? ~bits + 1 : bits;  // also right for the most negative value
  std::string digits = zeroPadded(decimalDigits(magnitude), kCurrencyMinDigits);
  digits.insert(digits.size() - kCurrencyDecimals, 1, '.');
  text = negative ? "-" + digits : digits;
  return 1;
}

// Value layout (17 bytes):
//   0      1   sign: 0x80 negative
//   1..16  16  magnitude: four little-endian 32-bit words, most significant first
int FormatNumeric(support::ByteView page, int64_t position, std::string& text, int precision, int scale) {
  if (!page.contains(position, 17)) {
    text.clear();
    return 0;
  }
  Magnitude magnitude = 0;
  for (int word = 0; word < 4; ++word) magnitude = (magnitude << 32) | page.u32(position + 1 + 4 * word);
  const bool negative = (page.u8(position) & 0x80) != 0;
  precision = std::clamp(precision, 0, kMaxNumericWidth);
  scale = std::clamp(scale, 0, kMaxNumericWidth);
  std::string digits = zeroPadded(decimalDigits(magnitude), static_cast<size_t>(std::max(precision, scale)));
  if (scale > 0) digits.insert(digits.size() - static_cast<size_t>(scale), 1, '.');
  text = negative ? "-" + digits : digits;
  return 1;
}

}  // namespace records
