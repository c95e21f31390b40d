// SINGLE and DOUBLE display texts: "%.*f" with as many decimals as the value's magnitude leaves
// of the type's significant digits; negative values by their magnitude like positive ones.
#include <charconv>
#include <cmath>
#include <string>

#include "records/value_text.h"

namespace records {

namespace {
constexpr int kFallbackDecimals = 4;  // zero and very large values
constexpr int kSingleDigits = 6;
constexpr int kDoubleDigits = 15;

template <typename Real>
int decimalsFor(Real value, int significantDigits) {
  const Real exponent = std::ceil(std::log10(std::fabs(value)));
  if (!std::isfinite(exponent)) return kFallbackDecimals;
  const Real decimals = static_cast<Real>(significantDigits) - exponent;
  if (decimals < 0 || decimals > 400) return kFallbackDecimals;
  return static_cast<int>(decimals);
}

// As "%.*f" writes it (to_chars with a precision is specified as printf's conversion in the C
// locale, "nan" and "inf" included), at a fraction of printf's cost.
void appendFixed(double value, int decimals, std::string& out) {
  char text[800];  // 309 integer digits, the sign, the point and at most 400 decimals
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) {
    out += "NULL";
    return;
  }
  out.append(text, result.ptr);
}
}  // namespace

void AppendSingleText(float value, std::string& out) {
  appendFixed(value, decimalsFor(value, kSingleDigits), out);
}

void AppendDoubleText(double value, std::string& out) {
  appendFixed(value, decimalsFor(value, kDoubleDigits), out);
}

}  // namespace records
