// SINGLE and DOUBLE: "%.*f" with as many decimals as the value's magnitude leaves of the
// type's significant digits.
#include <cmath>
#include <cstdio>
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

std::string fixedText(double value, int decimals) {
  const int size = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  if (size <= 0) return "NULL";
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), "%.*f", decimals, value);
  out.resize(static_cast<size_t>(size));
  return out;
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
