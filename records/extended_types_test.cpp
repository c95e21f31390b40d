// Large Number and Date/Time Extended values built from their stored layout: decoding, the
// grid and ISO texts, damaged values, and both types placed in a row by the row decoder.
#include "records/extended_types.h"

#include <gtest/gtest.h>

#include <limits>

#include "records/row_decoder.h"
#include "records/type_names.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

// The 42 stored bytes: the text, then NUL.
std::vector<uint8_t> storedDate(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TEST(ExtendedDateTest, DecodesTheStoredText) {
  struct Case {
    const char* stored;
    const char* shown;  // "NULL" when the value must not decode
    const char* iso;
  } cases[] = {
      {"0000000000000737592:0000000000000000000:7", "06/17/2020 00:00:00.0000000", "2020-06-17T00:00:00.0000000"},
      {"0000000000000737954:0000000819123456789:7", "06/14/2021 22:45:12.3456789", "2021-06-14T22:45:12.3456789"},
      {"0000000000000036323:0000000459001234567:7", "06/14/0100 12:45:00.1234567", "0100-06-14T12:45:00.1234567"},
      {"0000000000000000000:0000000000000000001:7", "01/01/0001 00:00:00.0000001", "0001-01-01T00:00:00.0000001"},
      {"0000000000003652058:0000000863999999999:7", "12/31/9999 23:59:59.9999999", "9999-12-31T23:59:59.9999999"},
      // 29 February of a leap year and of a year 400 divides, 1 March after a century year that is not leap
      {"0000000000000730178:0000000000000000000:7", "02/29/2000 00:00:00.0000000", "2000-02-29T00:00:00.0000000"},
      {"0000000000000693654:0000000000000000000:7", "03/01/1900 00:00:00.0000000", "1900-03-01T00:00:00.0000000"},
      {"0000000000003652059:0000000000000000000:7", "NULL", "NULL"},  // 10000-01-01
      {"0000000000000737592:0000000864000000000:7", "NULL", "NULL"},  // second 86400
      {"00000000000007375x2:0000000000000000000:7", "NULL", "NULL"},
      {"0000000000000737592-0000000000000000000:7", "NULL", "NULL"},
      {"0000000000000737592:000000000000", "NULL", "NULL"},  // cut short
      {"", "NULL", "NULL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::vector<uint8_t> bytes = storedDate(c.stored);
    const support::Value value = records::DecodeExtendedDate(support::ByteView(bytes));
    EXPECT_EQ(records::FormatExtendedDate(support::ByteView(bytes), 0), c.shown);
    if (std::string(c.shown) == "NULL") {
      EXPECT_TRUE(value.isNull());
      continue;
    }
    ASSERT_EQ(value.kind, support::ValueKind::kDateExtended);
    EXPECT_EQ(records::ExtendedDateIsoText(value.integer), c.iso);
  }
}

TEST(LargeNumberTest, SignedSixtyFourBits) {
  struct Case {
    int64_t stored;
    const char* shown;
  } cases[] = {
      {42, "42"},
      {-1, "-1"},
      {std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
      {std::numeric_limits<int64_t>::max(), "9223372036854775807"},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> bytes = Le64(static_cast<uint64_t>(c.stored));
    const support::Value value = records::DecodeLargeNumber(support::ByteView(bytes));
    ASSERT_EQ(value.kind, support::ValueKind::kInt64);
    EXPECT_EQ(value.integer, c.stored);
    EXPECT_EQ(records::FormatLargeNumber(support::ByteView(bytes), 0), c.shown);
  }
  const std::vector<uint8_t> shortValue = {1, 2, 3};
  EXPECT_TRUE(records::DecodeLargeNumber(support::ByteView(shortValue)).isNull());
  EXPECT_EQ(records::FormatLargeNumber(support::ByteView(shortValue), 0), "NULL");
}

TEST(ExtendedTypesTest, TypeNamesOfTheirOwn) {
  analysis::Column column;
  column.type = records::kTypeLargeNumber;
  EXPECT_EQ(records::GetTypeName(column), "BIGINT");
  column.type = records::kTypeDateExtended;
  EXPECT_EQ(records::GetTypeName(column), "DATETIME2");
}

// id BIGINT (0, fixed 0), stamp DATETIME2 (1, fixed 8): both fixed, as files store them.
TEST(ExtendedTypesTest, RowDecoderPlacesBothTypes) {
  RecordFixture fixture;
  fixture.table.maxColumns = 2;
  fixture.table.columns = {FixedColumn("id", records::kTypeLargeNumber, 0, 0, 8),
                           FixedColumn("stamp", records::kTypeDateExtended, 1, 8, 42)};
  RowBuilder row(2, 50);
  row.fixed(0, 0, Le64(static_cast<uint64_t>(-5000000000LL)))
      .fixed(1, 8, storedDate("0000000000000737954:0000000819123456789:7"))
      .withoutVariableArea();
  std::string text;
  ASSERT_EQ(fixture.decodeAlone(row.bytes(), text), 2);
  EXPECT_EQ(text, std::string("-5000000000") + records::kFieldSeparator + "06/14/2021 22:45:12.3456789" +
                      records::kFieldSeparator);
}

}  // namespace
