// Plain decimal texts of the exact-number kinds of support::Value, for writers that store them
// as decimals (the Jet 4 writer's conversions, SQLite): lossless, no grouping, no exponent.
#pragma once

#include <cstdint>
#include <string>

#include "support/value.h"

namespace support {

// The currency amount of a count of ten-thousandths, always with four decimals: "-12.3400".
std::string CurrencyDecimal(int64_t tenThousandths);

// The NUMERIC with its scale's decimals: digits "5" at scale 3 give "0.005", "-120" at scale 0
// gives "-120".
std::string NumericDecimal(const NumericValue& numeric);

}  // namespace support
