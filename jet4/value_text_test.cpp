// Display texts back to stored bytes, per column type: the forms the record decoder
// produces, the edges of each range, and texts that must be refused.
#include "jet4/value_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "tests/support/column_def.h"
#include "tests/support/hex.h"

namespace {

using jet4::ColumnDef;
using jet4::ColumnType;

using testsupport::ColumnOf;

struct Case {
  ColumnType type;
  const char* text;
  const char* storedHex;
};

TEST(ValueTextTest, StoresEachTypeAsTheFileDoes) {
  const Case cases[] = {
      {ColumnType::kByte, "0", "00"},
      {ColumnType::kByte, "255", "ff"},
      {ColumnType::kByte, "-1", "ff"},  // the decoder prints a stored 0xFF as -1
      {ColumnType::kByte, "-128", "80"},
      {ColumnType::kInt, "65535", "ffff"},  // ... and a stored 0xFFFF as 65535
      {ColumnType::kInt, "-32768", "0080"},
      {ColumnType::kInt, "32768", "0080"},
      {ColumnType::kLong, "-1", "ffffffff"},
      {ColumnType::kLong, "2147483647", "ffffff7f"},
      {ColumnType::kLong, "-2147483648", "00000080"},
      {ColumnType::kLong, "2.5", "02000000"},  // rounded half to even, as the engine converts
      {ColumnType::kLong, "3.5", "04000000"},
      {ColumnType::kCurrency, "0.0000", "0000000000000000"},
      {ColumnType::kCurrency, "-0.0001", "ffffffffffffffff"},
      {ColumnType::kCurrency, "12.3456", "40e2010000000000"},
      {ColumnType::kCurrency, "5", "50c3000000000000"},
      {ColumnType::kCurrency, "0.00005", "0000000000000000"},
      {ColumnType::kCurrency, "0.00015", "0200000000000000"},
      {ColumnType::kSingle, "0.500000", "0000003f"},
      {ColumnType::kSingle, "100", "0000c842"},
      {ColumnType::kDouble, "-2.5", "00000000000004c0"},
      {ColumnType::kDouble, "1e300", "9c7500883ce4377e"},
      {ColumnType::kDateTime, "12/30/1899 00:00:00", "0000000000000000"},
      {ColumnType::kDateTime, "12/31/1899 12:00:00", "000000000000f83f"},  // 1.5
      {ColumnType::kDateTime, "12/29/1899 12:00:00", "000000000000f8bf"},  // -1.5
      {ColumnType::kDateTime, "01/01/1900", "0000000000000040"},           // 2.0
      {ColumnType::kDateTime, "12/31/99 23:59:59", "37bae7ffbfd5e140"},    // two-digit year: 1999
      {ColumnType::kDateTime, "1999-12-31 23:59:59", "37bae7ffbfd5e140"},
      {ColumnType::kGuid, "{12345678-9ABC-DEF0-1234-56789ABCDEF0}", "78563412bc9af0de123456789abcdef0"},
      {ColumnType::kGuid, "12345678-9abc-def0-1234-56789abcdef0", "78563412bc9af0de123456789abcdef0"},
      {ColumnType::kBinary, "00ff10AB", "00ff10ab"},
      {ColumnType::kBinary, "", ""},
  };
  for (const Case& c : cases) {
    const jet4::FieldValue value = jet4::ParseValueText(ColumnOf(c.type, 510), c.text);
    EXPECT_TRUE(value.present) << c.text;
    EXPECT_EQ(testsupport::HexOf(value.bytes), c.storedHex) << static_cast<int>(c.type) << " " << c.text;
  }
}

TEST(ValueTextTest, NumericKeepsSignAndScale) {
  struct NumericCase {
    uint8_t precision, scale;
    const char* text;
    const char* storedHex;
  } cases[] = {
      {18, 2, "0000000000000000.42",
       "00"
       "00000000"
       "00000000"
       "00000000"
       "2a000000"},
      {18, 2, "-12.34",
       "80"
       "00000000"
       "00000000"
       "00000000"
       "d2040000"},
      {18, 0, "1",
       "00"
       "00000000"
       "00000000"
       "00000000"
       "01000000"},
      {18, 4, "-12.3456",
       "80"
       "00000000"
       "00000000"
       "00000000"
       "40e20100"},
      {28, 0, "9999999999999999999999999999",
       "00"
       "00000000"
       "5ece4f20"
       "6102253e"
       "ffffff0f"},
      {10, 2, "-0.00",
       "00"
       "00000000"
       "00000000"
       "00000000"
       "00000000"},
  };
  for (const auto& c : cases) {
    const auto value = jet4::ParseValueText(ColumnOf(ColumnType::kNumeric, 17, c.precision, c.scale), c.text);
    EXPECT_EQ(testsupport::HexOf(value.bytes), c.storedHex) << c.text;
  }
}

TEST(ValueTextTest, BitTextsGiveTheMaskBit) {
  for (const char* yes : {"1", "-1", "True", "yes"})
    EXPECT_TRUE(jet4::ParseValueText(ColumnOf(ColumnType::kBool, 1), yes).present) << yes;
  for (const char* no : {"0", "false", "No"})
    EXPECT_FALSE(jet4::ParseValueText(ColumnOf(ColumnType::kBool, 1), no).present) << no;
}

TEST(ValueTextTest, TextIsCompressedOnlyWhereTheFormatAllows) {
  const ColumnDef text = ColumnOf(ColumnType::kText, 20);
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "abc").bytes), "fffe616263");
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "ab").bytes), "61006200");  // too short to gain
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "Grüße").bytes), "fffe4772fcdf65");
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "Мир").bytes), "1c0438044004");
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "").bytes), "");
  EXPECT_TRUE(jet4::ParseValueText(text, "").present);  // an empty text is not a null
  ColumnDef plain = text;
  plain.extFlags = 0;
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(plain, "abc").bytes), "610062006300");
  // A byte that is no UTF-8 is kept as the Latin-1 character of its value.
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "a\xE9z").bytes), "fffe61e97a");
  // Outside the Basic Multilingual Plane: a surrogate pair.
  EXPECT_EQ(testsupport::HexOf(jet4::ParseValueText(text, "\xF0\x9F\x98\x80").bytes), "3dd800de");
}

TEST(ValueTextTest, OleValuesAreTheRawBytes) {
  const std::string raw("\x00\x01\xFF", 3);
  EXPECT_EQ(jet4::ParseValueText(ColumnOf(ColumnType::kOle), raw).bytes, raw);
}

TEST(ValueTextTest, RefusesWhatDoesNotParseOrFit) {
  const struct {
    ColumnType type;
    uint16_t length;
    std::string text;
  } cases[] = {
      {ColumnType::kBool, 1, "2"},
      {ColumnType::kBool, 1, ""},
      {ColumnType::kByte, 1, "256"},
      {ColumnType::kByte, 1, "-129"},
      {ColumnType::kByte, 1, "x"},
      {ColumnType::kInt, 2, "65536"},
      {ColumnType::kInt, 2, "-32769"},
      {ColumnType::kLong, 4, "2147483648"},
      {ColumnType::kLong, 4, "1e3"},
      {ColumnType::kLong, 4, ""},
      {ColumnType::kLong, 4, "-"},
      {ColumnType::kLong, 4, "99999999999999999999999999999999999999999"},
      {ColumnType::kCurrency, 8, "922337203685477.5808"},
      {ColumnType::kCurrency, 8, "1,5"},
      {ColumnType::kSingle, 4, "abc"},
      {ColumnType::kDouble, 8, "1.5x"},
      {ColumnType::kDouble, 8, ""},
      {ColumnType::kDateTime, 8, "02/30/2020 00:00:00"},
      {ColumnType::kDateTime, 8, "13/01/2020 00:00:00"},
      {ColumnType::kDateTime, 8, "01/01/2020 24:00:00"},
      {ColumnType::kDateTime, 8, "01/01/2020 10:00"},
      {ColumnType::kDateTime, 8, "yesterday"},
      {ColumnType::kDateTime, 8, "01/01/99999 00:00:00"},
      {ColumnType::kGuid, 16, "{12345678-9ABC-DEF0-1234-56789ABCDEF}"},
      {ColumnType::kGuid, 16, "{12345678+9ABC-DEF0-1234-56789ABCDEF0}"},
      {ColumnType::kGuid, 16, "{1234567G-9ABC-DEF0-1234-56789ABCDEF0}"},
      {ColumnType::kBinary, 510, "abc"},
      {ColumnType::kBinary, 510, "zz"},
      {ColumnType::kBinary, 2, "000102"},
      {ColumnType::kText, 6, "abcd"},  // three characters at most
  };
  for (const auto& c : cases)
    EXPECT_THROW(jet4::ParseValueText(ColumnOf(c.type, c.length), c.text), engine::EngineError)
        << static_cast<int>(c.type) << " \"" << c.text << "\"";
  EXPECT_THROW(jet4::ParseValueText(ColumnOf(ColumnType::kNumeric, 17, 4, 2), "123.45"), engine::EngineError);
  EXPECT_THROW(jet4::ParseValueText(ColumnOf(ColumnType::kNumeric, 17, 4, 2), "12.3x"), engine::EngineError);
}

TEST(ValueTextTest, TextMayFillItsColumn) {
  const std::string longest(255, 'x');
  EXPECT_NO_THROW(jet4::ParseValueText(ColumnOf(ColumnType::kText, 510), longest));
  EXPECT_THROW(jet4::ParseValueText(ColumnOf(ColumnType::kText, 510), longest + "x"), engine::EngineError);
}

}  // namespace
