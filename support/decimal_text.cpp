// Decimal texts.
#include "support/decimal_text.h"

#include <cstdio>

namespace support {

std::string CurrencyDecimal(int64_t tenThousandths) {
  const bool negative = tenThousandths < 0;
  // The magnitude in unsigned arithmetic, so that the smallest amount does not overflow.
  const uint64_t magnitude =
      negative ? ~static_cast<uint64_t>(tenThousandths) + 1 : static_cast<uint64_t>(tenThousandths);
  char text[32];
  std::snprintf(text, sizeof text, "%s%llu.%04llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000), static_cast<unsigned long long>(magnitude % 10000));
  return text;
}

std::string NumericDecimal(const NumericValue& numeric) {
  std::string digits = numeric.digits.empty() ? "0" : numeric.digits;
  if (digits.size() <= numeric.scale) digits.insert(0, numeric.scale + 1 - digits.size(), '0');
  if (numeric.scale > 0) digits.insert(digits.size() - numeric.scale, ".");
  return (numeric.negative && digits.find_first_not_of("0.") != std::string::npos ? "-" : "") + digits;
}

}  // namespace support
