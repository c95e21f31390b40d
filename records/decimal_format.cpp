// CURRENCY and NUMERIC display texts: exact decimal texts of scaled integers.
#include <algorithm>
#include <cstdint>
#include <string>

#include "records/value_text.h"

namespace records {

namespace {
constexpr size_t kCurrencyDecimals = 4;
constexpr size_t kCurrencyMinDigits = 5;  // 0.0005, never .0005

// digits (no sign) zero-padded to width, with a point before the last decimals (none for 0).
void appendScaled(const char* digits, size_t count, size_t width, size_t decimals, std::string& out) {
  const size_t total = std::max(count, width);
  const size_t pad = total - count;
  for (size_t k = 0; k < total; ++k) {
    if (decimals > 0 && total - k == decimals) out += '.';
    out += k < pad ? '0' : digits[k - pad];
  }
}
}  // namespace

void AppendCurrencyText(int64_t tenThousandths, std::string& out) {
  const bool negative = tenThousandths < 0;
  // Also right for the most negative amount.
  uint64_t magnitude = negative ? ~static_cast<uint64_t>(tenThousandths) + 1 : static_cast<uint64_t>(tenThousandths);
  char digits[20];
  size_t at = sizeof digits;
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) out += '-';
  appendScaled(digits + at, sizeof digits - at, kCurrencyMinDigits, kCurrencyDecimals, out);
}

void AppendNumericText(const support::NumericValue& numeric, std::string& out) {
  if (numeric.negative) out += '-';
  const size_t width = std::max(numeric.precision, numeric.scale);
  appendScaled(numeric.digits.data(), numeric.digits.size(), width, numeric.scale, out);
}

}  // namespace records
