// Typed values by data type and their display texts: the stored forms and the edges that a
// text detour used to lose (negative reals, a text "NULL", the old field separator, empty
// binary values, quotes, apostrophes, backslashes and line breaks).
#include "records/value_decode.h"

#include <gtest/gtest.h>

#include <cstring>

#include "records/row_decoder.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "tests/support/page_builder.h"

namespace {

using namespace testsupport;
using support::ValueKind;

constexpr int64_t kValueAt = 100;

struct TypedCase {
  const char* name;
  int type;
  std::vector<uint8_t> bytes;
  ValueKind kind;
  std::string display;
  int64_t integer = 0;
  double real = 0;
  std::string text = {};  // kText: the text; kNumeric: the digits
  int precision = 0;
  int scale = 0;
};

support::Value decoded(const TypedCase& c, records::DecodeStatus& status) {
  PageBuilder page(1);
  page.bytes(static_cast<size_t>(kValueAt), c.bytes);
  analysis::Column column;
  column.type = c.type;
  column.precision = c.precision;
  column.scale = c.scale;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  support::Value value;
  value.kind = ValueKind::kInt64;  // whatever was there before
  status = records::DecodeValue(recovery, support::ByteView(page.page()), column, kValueAt,
                                static_cast<int64_t>(c.bytes.size()), value);
  return value;
}

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ValueDecodeTest, KindsValuesAndDisplayTexts) {
  const std::string separator = records::kFieldSeparator;
  const std::string awkward = "say \"hi\", it's C:\\temp\r\nnext line";
  const std::vector<uint8_t> guid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  std::vector<uint8_t> numeric = Concat({0x80}, std::vector<uint8_t>(12, 0));
  numeric = Concat(numeric, Le32(42));
  const float tinyNegative = -1.2e-5f;
  const std::vector<TypedCase> cases = {
      {"BYTE is unsigned", records::kTypeByte, {0xFF}, ValueKind::kByte, "255", 255},
      {"INT is signed", records::kTypeInt, Le16(0x8000), ValueKind::kInt16, "-32768", -32768},
      {"LONG min", records::kTypeLong, Le32(0x80000000), ValueKind::kInt32, "-2147483648", INT32_MIN},
      {"CURRENCY -1", records::kTypeCurrency, Le64(~0ULL), ValueKind::kCurrency, "-0.0001", -1},
      {"CURRENCY most negative", records::kTypeCurrency, Le64(1ULL << 63), ValueKind::kCurrency,
       "-922337203685477.5808", INT64_MIN},
      {"SINGLE tiny negative by magnitude", records::kTypeSingle, FloatBytes(tinyNegative), ValueKind::kSingle,
       "-0.0000120000", 0, tinyNegative},
      {"SINGLE negative", records::kTypeSingle, FloatBytes(-2.5f), ValueKind::kSingle, "-2.50000", 0, -2.5},
      {"DOUBLE negative, 15 significant digits", records::kTypeDouble, DoubleBytes(-1.23456789012345),
       ValueKind::kDouble, "-1.23456789012345", 0, -1.23456789012345},
      {"DOUBLE -1.23456789", records::kTypeDouble, DoubleBytes(-1.23456789), ValueKind::kDouble, "-1.23456789000000", 0,
       -1.23456789},
      {"DOUBLE zero", records::kTypeDouble, DoubleBytes(0.0), ValueKind::kDouble, "0.0000", 0, 0.0},
      {"DATE keeps the stored double", records::kTypeDate, DoubleBytes(36526.5 + 0.25 / 86400), ValueKind::kDate,
       "01/01/2000 12:00:00", 0, 36526.5 + 0.25 / 86400},
      {"NUMERIC", records::kTypeNumeric, numeric, ValueKind::kNumeric, "-0000000000000000.42", 0, 0, "42", 18, 2},
      {"GUID", records::kTypeGuid, guid, ValueKind::kGuid, "{33221100-5544-7766-8899-AABBCCDDEEFF}"},
      {"TEXT NULL is a text", records::kTypeText, Utf16("NULL"), ValueKind::kText, "NULL", 0, 0, "NULL"},
      {"TEXT holding the field separator", records::kTypeText, Utf16("a" + separator + "b"), ValueKind::kText,
       "a" + separator + "b", 0, 0, "a" + separator + "b"},
      {"TEXT quote, apostrophe, backslash, line break", records::kTypeText, Utf16(awkward), ValueKind::kText, awkward,
       0, 0, awkward},
      {"TEXT empty is empty, not null", records::kTypeText, {}, ValueKind::kText, ""},
      {"BINARY", records::kTypeBinary, {0x01, 0xAB, 0xFF}, ValueKind::kBinary, "01abff"},
      {"BINARY empty is empty, not null", records::kTypeBinary, {}, ValueKind::kBinary, ""},
      // A complex column whose data table cannot be read keeps the key its row holds.
      {"complex column without its data table", records::kTypeAttachment, Le32(5), ValueKind::kInt32, "5", 5},
  };
  for (const auto& c : cases) {
    records::DecodeStatus status;
    const support::Value value = decoded(c, status);
    EXPECT_EQ(value.kind, c.kind) << c.name;
    analysis::Column column;
    column.type = c.type;
    EXPECT_EQ(records::ValueText(column, value), c.display) << c.name;
    switch (c.kind) {
      case ValueKind::kByte:
      case ValueKind::kInt16:
      case ValueKind::kInt32:
      case ValueKind::kCurrency: EXPECT_EQ(value.integer, c.integer) << c.name; break;
      case ValueKind::kSingle:
      case ValueKind::kDouble:
      case ValueKind::kDate: EXPECT_TRUE(sameBits(value.real, c.real)) << c.name; break;
      case ValueKind::kText: EXPECT_EQ(value.text, c.text) << c.name; break;
      case ValueKind::kNumeric:
        EXPECT_TRUE(value.numeric.negative) << c.name;
        EXPECT_EQ(value.numeric.digits, c.text) << c.name;
        EXPECT_EQ(value.numeric.precision, c.precision) << c.name;
        EXPECT_EQ(value.numeric.scale, c.scale) << c.name;
        break;
      default: EXPECT_EQ(value.bytes, c.bytes) << c.name; break;
    }
  }
}

// A value that does not lie inside the page is null, never a stale value.
TEST(ValueDecodeTest, OutsideThePageIsNull) {
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  const std::vector<uint8_t> page(kTestPageSize, 0);
  for (int type : {records::kTypeByte, records::kTypeDouble, records::kTypeGuid, records::kTypeNumeric,
                   records::kTypeText, records::kTypeBinary}) {
    analysis::Column column;
    column.type = type;
    support::Value value;
    value.kind = ValueKind::kText;
    value.text = "stale";
    records::DecodeValue(recovery, support::ByteView(page), column, kTestPageSize, 17, value);
    EXPECT_TRUE(value.isNull()) << type;
    EXPECT_TRUE(value.text.empty()) << type;
  }
}

}  // namespace
