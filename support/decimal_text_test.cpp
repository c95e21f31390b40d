// Plain decimal texts of currency and NUMERIC values: scale, padding, sign and the extremes.
#include "support/decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalTextTest, CurrencyHasFourDecimals) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0.0000"},
      {-5, "-0.0005"},
      {123456789, "12345.6789"},
      {std::numeric_limits<int64_t>::max(), "922337203685477.5807"},
      {std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
  };
  for (const auto& [units, text] : cases) EXPECT_EQ(support::CurrencyDecimal(units), text) << units;
}

TEST(DecimalTextTest, NumericPutsThePointByItsScale) {
  struct Case {
    support::NumericValue numeric;
    const char* text;
  };
  const Case cases[] = {
      {{false, 18, 0, "120"}, "120"}, {{true, 18, 0, "120"}, "-120"},
      {{false, 18, 3, "5"}, "0.005"}, {{true, 18, 2, "12345"}, "-123.45"},
      {{true, 18, 2, "0"}, "0.00"},  // no negative zero
      {{false, 18, 2, ""}, "0.00"},   {{false, 28, 6, "12345678901234567890123"}, "12345678901234567.890123"},
  };
  for (const Case& c : cases) EXPECT_EQ(support::NumericDecimal(c.numeric), c.text) << c.text;
}

}  // namespace
