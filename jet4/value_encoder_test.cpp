// Typed values to stored bytes: each kind into its own column type bit for bit, the
// conversions between kinds, and values a column cannot hold.
#include "jet4/value_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "support/value_builders.h"
#include "tests/support/column_def.h"
#include "tests/support/hex.h"

namespace {

using jet4::ColumnDef;
using jet4::ColumnType;
using support::BytesValue;
using support::IntegerValue;
using support::NumericOf;
using support::RealValue;
using support::TextValue;
using support::Value;
using support::ValueKind;

using testsupport::ColumnOf;

ColumnDef numericColumn(uint8_t precision, uint8_t scale) {
  return ColumnOf(ColumnType::kNumeric, 17, precision, scale);
}

struct Case {
  const char* what;
  ColumnDef column;
  Value value;
  const char* storedHex;
};

TEST(ValueEncoderTest, StoresEachKindAsTheFileDoes) {
  const Case cases[] = {
      {"boolean", ColumnOf(ColumnType::kBool), IntegerValue(ValueKind::kBoolean, 1), ""},
      {"byte", ColumnOf(ColumnType::kByte), IntegerValue(ValueKind::kByte, 255), "ff"},
      {"int", ColumnOf(ColumnType::kInt), IntegerValue(ValueKind::kInt16, -32768), "0080"},
      {"long", ColumnOf(ColumnType::kLong), IntegerValue(ValueKind::kInt32, -2), "feffffff"},
      {"currency from its scaled integer", ColumnOf(ColumnType::kCurrency),
       IntegerValue(ValueKind::kCurrency, std::numeric_limits<int64_t>::min()), "0000000000000080"},
      {"negative double of 15 digits", ColumnOf(ColumnType::kDouble), RealValue(ValueKind::kDouble, -1234.56789012345),
       "c20ffd84454a93c0"},
      {"smallest subnormal double", ColumnOf(ColumnType::kDouble), RealValue(ValueKind::kDouble, -4.9e-324),
       "0100000000000080"},
      {"tiny negative single", ColumnOf(ColumnType::kSingle),
       RealValue(ValueKind::kSingle, static_cast<double>(-1.2e-5f)), "9c5349b7"},
      {"date before day zero", ColumnOf(ColumnType::kDateTime), RealValue(ValueKind::kDate, -1.5), "000000000000f8bf"},
      {"date with a fraction of a second", ColumnOf(ColumnType::kDateTime),
       RealValue(ValueKind::kDate, 45000.123456789), "e7a65bf303f9e540"},
      {"extended date at day zero noon", ColumnOf(ColumnType::kDateTime),
       IntegerValue(ValueKind::kDateExtended, 693593 * 864000000000LL + 432000000000LL), "000000000000e03f"},
      {"extended date the day before day zero, noon", ColumnOf(ColumnType::kDateTime),
       IntegerValue(ValueKind::kDateExtended, 693592 * 864000000000LL + 432000000000LL), "000000000000f8bf"},
      {"numeric", numericColumn(18, 4), NumericOf(true, 18, 4, "1234567"), "8000000000000000000000000087d61200"},
      {"numeric rescaled", numericColumn(10, 2), NumericOf(false, 18, 4, "12345"),
       "000000000000000000000000007b000000"},
      {"guid", ColumnOf(ColumnType::kGuid, 16),
       BytesValue(ValueKind::kGuid, {0x78, 0x56, 0x34, 0x12, 0xbc, 0x9a, 0xf0, 0xde, 1, 2, 3, 4, 5, 6, 7, 8}),
       "78563412bc9af0de0102030405060708"},
      {"binary", ColumnOf(ColumnType::kBinary, 4), BytesValue(ValueKind::kBinary, {0, 0xff, 0x10}), "00ff10"},
      {"empty binary stays present", ColumnOf(ColumnType::kBinary, 4), BytesValue(ValueKind::kBinary, {}), ""},
      {"ole object with its header", ColumnOf(ColumnType::kOle),
       BytesValue(ValueKind::kLongBinary, {0x15, 0x1c, 0x2f, 0x00, 0x02}), "151c2f0002"},
      {"text NULL stays text", ColumnOf(ColumnType::kText, 20), TextValue("NULL"), "fffe4e554c4c"},
      {"text with quote, apostrophe, backslash, line break", ColumnOf(ColumnType::kMemo), TextValue("\"'\\\r\n"),
       "fffe22275c0d0a"},
      // Conversions between kinds.
      {"whole number into a double", ColumnOf(ColumnType::kDouble), IntegerValue(ValueKind::kInt32, -2),
       "00000000000000c0"},
      {"currency into a double", ColumnOf(ColumnType::kDouble), IntegerValue(ValueKind::kCurrency, 25000),
       "0000000000000440"},
      {"double into a long, half to even", ColumnOf(ColumnType::kLong), RealValue(ValueKind::kDouble, 2.5), "02000000"},
      {"double into currency", ColumnOf(ColumnType::kCurrency), RealValue(ValueKind::kDouble, -0.0001),
       "ffffffffffffffff"},
      {"long into numeric", numericColumn(10, 2), IntegerValue(ValueKind::kInt32, -7),
       "80000000000000000000000000bc020000"},
      {"double into text", ColumnOf(ColumnType::kText, 40), RealValue(ValueKind::kDouble, -1.5e-7),
       "fffe2d312e35652d3037"},
      {"currency into text", ColumnOf(ColumnType::kText, 40), IntegerValue(ValueKind::kCurrency, -5),
       "fffe2d302e30303035"},
      {"byte stored as signed", ColumnOf(ColumnType::kByte), IntegerValue(ValueKind::kByte, -1), "ff"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const jet4::FieldValue stored = jet4::EncodeFieldValue(c.column, c.value);
    EXPECT_TRUE(stored.present);
    EXPECT_EQ(testsupport::HexOf(stored.bytes), c.storedHex);
  }
}

TEST(ValueEncoderTest, NullAndFalseAreAbsent) {
  EXPECT_FALSE(jet4::EncodeFieldValue(ColumnOf(ColumnType::kText, 20), Value{}).present);
  EXPECT_FALSE(jet4::EncodeFieldValue(ColumnOf(ColumnType::kBinary, 4), Value{}).present);
  EXPECT_FALSE(jet4::EncodeFieldValue(ColumnOf(ColumnType::kBool), IntegerValue(ValueKind::kBoolean, 0)).present);
}

TEST(ValueEncoderTest, RefusesWhatTheColumnCannotHold) {
  const Case cases[] = {
      {"byte out of range", ColumnOf(ColumnType::kByte), IntegerValue(ValueKind::kInt32, 256), ""},
      {"long out of range", ColumnOf(ColumnType::kLong), IntegerValue(ValueKind::kInt64, 1LL << 31), ""},
      {"double too large for a long", ColumnOf(ColumnType::kLong), RealValue(ValueKind::kDouble, 3e9), ""},
      {"not a number into a long", ColumnOf(ColumnType::kLong),
       RealValue(ValueKind::kDouble, std::numeric_limits<double>::quiet_NaN()), ""},
      {"too many digits for the numeric", numericColumn(4, 2), NumericOf(false, 18, 0, "100"), ""},
      {"binary longer than the column", ColumnOf(ColumnType::kBinary, 2), BytesValue(ValueKind::kBinary, {1, 2, 3}),
       ""},
      {"guid of 15 bytes", ColumnOf(ColumnType::kGuid, 16), BytesValue(ValueKind::kGuid, std::vector<uint8_t>(15)), ""},
      {"bytes into a double", ColumnOf(ColumnType::kDouble), BytesValue(ValueKind::kBinary, {1}), ""},
      {"bytes into a text", ColumnOf(ColumnType::kText, 20), BytesValue(ValueKind::kBinary, {1}), ""},
      {"text longer than the column", ColumnOf(ColumnType::kText, 4), TextValue("abc"), ""},
      {"infinite date", ColumnOf(ColumnType::kDateTime),
       RealValue(ValueKind::kDate, std::numeric_limits<double>::infinity()), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(jet4::EncodeFieldValue(c.column, c.value), engine::EngineError);
  }
}

}  // namespace
