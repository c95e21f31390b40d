// SINGLE and DOUBLE: "%.*f" with as many decimals as the value's magnitude leaves of the
// type's significant digits.
#include <charconv>
#include <cmath>
#include <string>

#include "records/value_format.h"

namespace records {

namespace {
constexpr int kFallbackDecimals = 4;  // zero, negative values and very large ones
constexpr int kSingleDigits = 6;
constexpr int kDoubleDigits = 15;

template <typename Real>
int decimalsFor(Real value, int significantDigits) {
  const Real exponent = std::ceil(std::log10(value));
  if (!std::isfinite(exponent)) return kFallbackDecimals;
  const Real decimals = static_cast<Real>(significantDigits) - exponent;
  if (decimals < 0 || decimals > 400) return kFallbackDecimals;
  return static_cast<int>(decimals);
}

// As "%.*f" writes it (to_chars with a precision is specified as printf's conversion in the C
// locale, "nan" and "inf" included), at a fraction of printf's cost.
std::string fixedText(double value, int decimals) {
  char out[800];  // 309 integer digits, the point and at most 400 decimals
  const auto result = std::to_chars(out, out + sizeof out, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "NULL";
  return std::string(out, result.ptr);
}
}  // namespace

int FormatSingle(support::ByteView page, int64_t position, std::string& text) {
  if (!page.contains(position, 4)) {
    text.clear();
    return 0;
  }
  const float value = page.f32(position);
  text = fixedText(value, decimalsFor(value, kSingleDigits));
  return 1;
}

int FormatDouble(support::ByteView page, int64_t position, std::string& text) {
  if (!page.contains(position, 8)) {
    text.clear();
    return 0;
  }
  const double value = page.f64(position);
  text = fixedText(value, decimalsFor(value, kDoubleDigits));
  return 1;
}

}  // namespace records
