// Value texts by data type: the stored forms and their edges, as tables of cases.
#include "records/value_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "records/type_names.h"
#include "tests/support/page_builder.h"

namespace {

using namespace testsupport;
using records::TypeCode;

constexpr int64_t kValueAt = 100;

struct ValueCase {
  const char* name;
  int type;
  std::vector<uint8_t> bytes;
  std::string expected;
  int precision = 0;
  int scale = 0;
};

std::string formatted(const ValueCase& c, int64_t position = kValueAt) {
  PageBuilder page(1);
  page.bytes(static_cast<size_t>(position), c.bytes);
  analysis::Column column;
  column.type = c.type;
  column.columnNumber = 1;
  column.precision = c.precision;
  column.scale = c.scale;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  std::string text = "unset";
  records::FormatField(recovery, support::ByteView(page.page()), column, position, static_cast<int64_t>(c.bytes.size()),
                       text);
  return text;
}

void expectAll(const std::vector<ValueCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(formatted(c), c.expected) << c.name;
}

TEST(ValueFormatTest, Integers) {
  expectAll({
      {"BYTE 0x80 is unsigned", records::kTypeByte, {0x80}, "128"},
      {"BYTE 0xFF", records::kTypeByte, {0xFF}, "255"},
      {"BYTE 0", records::kTypeByte, {0x00}, "0"},
      {"INT 0x8000 is signed", records::kTypeInt, Le16(0x8000), "-32768"},
      {"INT 0xFFFF", records::kTypeInt, Le16(0xFFFF), "-1"},
      {"INT 0x7FFF", records::kTypeInt, Le16(0x7FFF), "32767"},
      {"LONG 0xFFFFFFFF", records::kTypeLong, Le32(0xFFFFFFFF), "-1"},
      {"LONG max", records::kTypeLong, Le32(0x7FFFFFFF), "2147483647"},
      {"LONG min", records::kTypeLong, Le32(0x80000000), "-2147483648"},
  });
}

TEST(ValueFormatTest, Currency) {
  expectAll({
      {"zero", records::kTypeCurrency, Le64(0), "0.0000"},
      {"minus one ten-thousandth", records::kTypeCurrency, Le64(~0ULL), "-0.0001"},
      {"3.5", records::kTypeCurrency, Le64(35000), "3.5000"},
      {"12.3456", records::kTypeCurrency, Le64(123456), "12.3456"},
      {"five ten-thousandths", records::kTypeCurrency, Le64(5), "0.0005"},
      {"-12.3456", records::kTypeCurrency, Le64(static_cast<uint64_t>(-123456)), "-12.3456"},
      {"above 2^56 stays positive", records::kTypeCurrency, Le64(1ULL << 56), "7205759403792.7936"},
      {"most negative", records::kTypeCurrency, Le64(1ULL << 63), "-922337203685477.5808"},
      {"most positive", records::kTypeCurrency, Le64(~0ULL >> 1), "922337203685477.5807"},
  });
}

TEST(ValueFormatTest, SingleAndDouble) {
  expectAll({
      {"single 0.5", records::kTypeSingle, FloatBytes(0.5f), "0.500000"},
      {"single 1234.5", records::kTypeSingle, FloatBytes(1234.5f), "1234.50"},
      {"single 1e6", records::kTypeSingle, FloatBytes(1e6f), "1000000"},
      {"single 1e7", records::kTypeSingle, FloatBytes(1e7f), "10000000.0000"},
      {"single zero", records::kTypeSingle, FloatBytes(0.0f), "0.0000"},
      {"single negative, decimals by magnitude", records::kTypeSingle, FloatBytes(-2.5f), "-2.50000"},
      {"single 100", records::kTypeSingle, FloatBytes(100.0f), "100.0000"},
      {"double 444.555", records::kTypeDouble, DoubleBytes(444.555), "444.555000000000"},
      {"double 0.1", records::kTypeDouble, DoubleBytes(0.1), "0.1000000000000000"},
      {"double zero", records::kTypeDouble, DoubleBytes(0.0), "0.0000"},
      {"double negative, decimals by magnitude", records::kTypeDouble, DoubleBytes(-1.5), "-1.50000000000000"},
      {"double 1e20", records::kTypeDouble, DoubleBytes(1e20), "100000000000000000000.0000"},
      {"double infinity", records::kTypeDouble, DoubleBytes(std::numeric_limits<double>::infinity()), "inf"},
  });
}

TEST(ValueFormatTest, Dates) {
  expectAll({
      {"epoch", records::kTypeDate, DoubleBytes(0.0), "12/30/1899 00:00:00"},
      {"before the epoch, time counts forward", records::kTypeDate, DoubleBytes(-1.5), "12/29/1899 12:00:00"},
      {"last second of 1999", records::kTypeDate, DoubleBytes(36525 + 86399.0 / 86400), "12/31/1999 23:59:59"},
      {"noon", records::kTypeDate, DoubleBytes(36526.5), "01/01/2000 12:00:00"},
      {"2000 is a leap year", records::kTypeDate, DoubleBytes(36585), "02/29/2000 00:00:00"},
      {"1900 is not", records::kTypeDate, DoubleBytes(61), "03/01/1900 00:00:00"},
      {"Gregorian start", records::kTypeDate, DoubleBytes(-115858), "10/15/1582 00:00:00"},
      {"year 1392", records::kTypeDate, DoubleBytes(-185532), "01/10/1392 00:00:00"},
      {"year 100", records::kTypeDate, DoubleBytes(-657434), "01/01/0100 00:00:00"},
      {"last day", records::kTypeDate, DoubleBytes(2958465), "12/31/9999 00:00:00"},
      {"past year 9999", records::kTypeDate, DoubleBytes(2958466), "NULL"},
      {"rounds up to the next midnight", records::kTypeDate, DoubleBytes(1.9999999), "01/01/1900 00:00:00"},
      {"not a number", records::kTypeDate, DoubleBytes(std::nan("")), "NULL"},
      {"huge", records::kTypeDate, DoubleBytes(1e300), "NULL"},
  });
}

TEST(ValueFormatTest, GuidBinaryAndNumeric) {
  const std::vector<uint8_t> guid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  auto numeric = [](uint8_t sign, uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) {
    return Concat(Concat(Concat(Concat({sign}, Le32(w0)), Le32(w1)), Le32(w2)), Le32(w3));
  };
  expectAll({
      {"guid", records::kTypeGuid, guid, "{33221100-5544-7766-8899-AABBCCDDEEFF}"},
      {"binary", records::kTypeBinary, {0x01, 0xAB, 0xFF}, "01abff"},
      {"binary empty is no null", records::kTypeBinary, {}, ""},
      {"numeric 18,2 42", records::kTypeNumeric, numeric(0x00, 0, 0, 0, 42), "0000000000000000.42", 18, 2},
      {"numeric 18,2 -42", records::kTypeNumeric, numeric(0x80, 0, 0, 0, 42), "-0000000000000000.42", 18, 2},
      {"numeric scale 0", records::kTypeNumeric, numeric(0x00, 0, 0, 0, 7), "00007", 5, 0},
      {"numeric -1", records::kTypeNumeric, numeric(0x80, 0, 0, 0, 1), "-000000000000000001", 18, 0},
      {"numeric 2^64, precision 28", records::kTypeNumeric, numeric(0x00, 0, 1, 0, 0), "00000000184467440737095.51616",
       28, 5},
      {"numeric 2^96 + 1 wider than its precision", records::kTypeNumeric, numeric(0x00, 1, 0, 0, 1),
       "79228162514264337593543950337", 28, 0},
      {"numeric scale equals precision", records::kTypeNumeric, numeric(0x00, 0, 0, 0, 42), ".42", 2, 2},
  });
}

TEST(ValueFormatTest, TextForms) {
  const std::vector<uint8_t> euro = {0xAC, 0x20};
  expectAll({
      {"compressed", records::kTypeText, {0xFF, 0xFE, 0x41, 0x42}, "AB"},
      {"two-byte", records::kTypeText, Utf16("AB"), "AB"},
      {"compressed Latin-1", records::kTypeText, {0xFF, 0xFE, 0xE9, 0x74, 0xE9}, "\xC3\xA9t\xC3\xA9"},
      {"switch to two-byte and back",
       records::kTypeText,
       {0xFF, 0xFE, 0x41, 0x00, 0xAC, 0x20, 0x00, 0x42},
       "A\xE2\x82\xAC"
       "B"},
      {"ends in two-byte mode", records::kTypeText, {0xFF, 0xFE, 0x41, 0x00, 0xAC, 0x20}, "A\xE2\x82\xAC"},
      {"lone byte in two-byte mode dropped", records::kTypeText, {0xFF, 0xFE, 0x41, 0x00, 0xAC}, "A"},
      {"two-byte euro", records::kTypeText, euro, "\xE2\x82\xAC"},
      {"surrogate pair", records::kTypeText, {0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
      {"marker only", records::kTypeText, {0xFF, 0xFE}, ""},
      {"empty is no null", records::kTypeText, {}, ""},
  });
}

TEST(ValueFormatTest, TypesWithoutValueForm) {
  expectAll({
      {"BIT", records::kTypeBit, {}, "BIT"},
      // A complex column whose data table cannot be found shows the key its row holds.
      {"complex column without its data table", records::kTypeAttachment, Le32(5), "5"},
      {"unknown", 0x46, {1, 2}, "UNKNOWN-DATATYPE = 0x46"},
  });
}

// A value is read only where it lies inside the page: one byte short gives the empty text
// (BINARY leaves the text untouched), a value ending on the last byte is read.
TEST(ValueFormatTest, ValuesAtThePageEnd) {
  const std::vector<ValueCase> cases = {
      {"BYTE", records::kTypeByte, {7}, "7"},
      {"INT", records::kTypeInt, Le16(7), "7"},
      {"LONG", records::kTypeLong, Le32(7), "7"},
      {"CURRENCY", records::kTypeCurrency, Le64(70000), "7.0000"},
      {"SINGLE", records::kTypeSingle, FloatBytes(7.0f), "7.00000"},
      {"DOUBLE", records::kTypeDouble, DoubleBytes(7.0), "7.00000000000000"},
      {"DATE", records::kTypeDate, DoubleBytes(0.0), "12/30/1899 00:00:00"},
      {"GUID", records::kTypeGuid, std::vector<uint8_t>(16, 0), "{00000000-0000-0000-0000-000000000000}"},
      {"NUMERIC", records::kTypeNumeric, std::vector<uint8_t>(17, 0), "0", 1, 0},
      {"TEXT", records::kTypeText, Utf16("ab"), "ab"},
  };
  for (const auto& c : cases) {
    const int64_t lastFit = kTestPageSize - static_cast<int64_t>(c.bytes.size());
    EXPECT_EQ(formatted(c, lastFit), c.expected) << c.name;
    analysis::Column column;
    column.type = c.type;
    column.precision = c.precision;
    analysis::ProgressChannel channel;
    analysis::MdbRecovery recovery(channel);
    const std::vector<uint8_t> page(kTestPageSize, 0);
    for (int64_t position : {lastFit + 1, int64_t{-1}, int64_t{1} << 40}) {
      std::string text = "unset";
      records::FormatField(recovery, support::ByteView(page), column, position, static_cast<int64_t>(c.bytes.size()),
                           text);
      EXPECT_EQ(text, "") << c.name << " at " << position;
    }
  }
  std::string text = "unset";
  const std::vector<uint8_t> page(kTestPageSize, 0);
  EXPECT_EQ(records::FormatBinary(support::ByteView(page), kTestPageSize - 1, text, 2), -1);
  EXPECT_EQ(text, "unset");
  EXPECT_EQ(records::FormatBinary(support::ByteView(page), 0, text, int64_t{1} << 62), -1);
}

}  // namespace
