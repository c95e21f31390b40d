// The row decoder on rows built in code: placement by fixed offset and variable index, nulls,
// rows that hold fewer columns than the table, the export form, and a "corrupt it" table.
#include "records/row_decoder.h"

#include <gtest/gtest.h>

#include "records/record_text.h"
#include "records/type_names.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;
using records::kFieldSeparator;

std::string joined(const std::vector<std::string>& values) {
  std::string text;
  for (const auto& value : values) text += value + kFieldSeparator;
  return text;
}

// id LONG (0, fixed 0), name TEXT (1, slot 0), flag BIT (2), count INT (3, fixed 4), note TEXT (4, slot 1)
class RowDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture.table.maxColumns = 5;
    fixture.table.columns = {
        FixedColumn("id", records::kTypeLong, 0, 0, 4),        VariableColumn("name", records::kTypeText, 1, 0, 100),
        FixedColumn("flag", records::kTypeBit, 2, 0, 1),       FixedColumn("count", records::kTypeInt, 3, 4, 2),
        VariableColumn("note", records::kTypeText, 4, 1, 100),
    };
  }

  RowBuilder fullRow() const {
    RowBuilder row(5, 6);
    row.fixed(0, 0, Le32(5)).fixed(3, 4, Le16(7)).present(2).variable(1, Utf16("abc")).variable(4, Utf16("xy"));
    return row;
  }

  // Puts the row on a page as row 0 and decodes it; the text is "unset" when none was given.
  int decode(const std::vector<uint8_t>& row, std::string& text) {
    PageBuilder page = PageBuilder::DataPage(2);
    page.addRow(row);
    fixture.loadPage(page.page());
    fixture.prepareFields();
    text = "unset";
    const int64_t start = kTestPageSize - static_cast<int64_t>(row.size());
    return records::DecodeRow(fixture.recovery(), fixture.table, start, kTestPageSize - 1, text);
  }

  RecordFixture fixture;
};

TEST_F(RowDecoderTest, PlacesEveryValue) {
  std::string text;
  EXPECT_EQ(decode(fullRow().bytes(), text), 5);
  EXPECT_EQ(text, joined({"5", "abc", "1", "7", "xy"}));
  EXPECT_EQ(analysis::g_rowFields[1].size, -1);
  EXPECT_EQ(analysis::g_rowFields[3].size, 2);
}

TEST_F(RowDecoderTest, NullsByTheMask) {
  RowBuilder row(5, 6);
  row.fixed(0, 0, Le32(5)).fixed(3, 4, Le16(7)).present(3, false);
  row.variable(1, Utf16("abc"), false).variable(4, Utf16("xy"));
  std::string text;
  EXPECT_EQ(decode(row.bytes(), text), 5);
  EXPECT_EQ(text, joined({"5", "NULL", "0", "NULL", "xy"}));
  EXPECT_EQ(analysis::g_rowFields[1].present, 0);
  EXPECT_EQ(analysis::g_rowFields[2].present, 0);
}

// Each field carries its typed value beside the text; a later row leaves no stale value behind.
TEST_F(RowDecoderTest, TypedValuesBesideTheTexts) {
  using support::ValueKind;
  RowBuilder first(5, 6);
  first.fixed(0, 0, Le32(5)).present(2).variable(1, Utf16("NULL")).variable(4, {});
  RowBuilder second(5, 6);
  second.variable(1, Utf16("x"), false).variable(4, {}, false);
  struct Expected {
    ValueKind kind;
    int64_t integer;
    std::string text;
  };
  const std::vector<std::pair<std::vector<uint8_t>, std::vector<Expected>>> rows = {
      {first.bytes(),
       {{ValueKind::kInt32, 5, ""},
        {ValueKind::kText, 0, "NULL"},
        {ValueKind::kBoolean, 1, ""},
        {ValueKind::kNull, 0, ""},
        {ValueKind::kText, 0, ""}}},
      {second.bytes(),
       {{ValueKind::kNull, 0, ""},
        {ValueKind::kNull, 0, ""},
        {ValueKind::kBoolean, 0, ""},
        {ValueKind::kNull, 0, ""},
        {ValueKind::kNull, 0, ""}}},
  };
  for (const auto& [bytes, expected] : rows) {
    std::string text;
    ASSERT_EQ(decode(bytes, text), 5);
    for (size_t c = 0; c < expected.size(); ++c) {
      const support::Value& value = analysis::g_rowFields[c].value;
      EXPECT_EQ(value.kind, expected[c].kind) << c;
      EXPECT_EQ(value.integer, expected[c].integer) << c;
      EXPECT_EQ(value.text, expected[c].text) << c;
    }
  }
}

TEST_F(RowDecoderTest, ColumnListOrderGivesTheTextOrder) {
  std::swap(fixture.table.columns[0], fixture.table.columns[4]);
  std::string text;
  EXPECT_EQ(decode(fullRow().bytes(), text), 5);
  EXPECT_EQ(text, joined({"xy", "abc", "1", "7", "5"}));
}

// The layout of a table with dropped columns: column 1 (fixed bytes 4-7) and column 4 (slot
// 1) are gone, but every row still carries them.
TEST_F(RowDecoderTest, DroppedColumnsShiftNothing) {
  fixture.table.maxColumns = 6;
  fixture.table.columns = {
      FixedColumn("id", records::kTypeLong, 0, 0, 4), FixedColumn("id2", records::kTypeLong, 2, 8, 4),
      VariableColumn("data", records::kTypeText, 3, 0, 100), VariableColumn("data2", records::kTypeText, 5, 2, 100)};
  RowBuilder row(6, 12);
  row.fixed(0, 0, Le32(1)).fixed(1, 4, Le32(99)).fixed(2, 8, Le32(2));
  row.variable(3, Utf16("foo")).variable(4, Utf16("foo_deleted")).variable(5, Utf16("foo2"));
  std::string text;
  EXPECT_EQ(decode(row.bytes(), text), 6);
  EXPECT_EQ(text, joined({"1", "2", "foo", "foo2"}));
}

TEST_F(RowDecoderTest, RowsHoldingFewerColumnsThanTheTable) {
  // Written when the table had 2 columns: id and name only, one slot.
  RowBuilder row(2, 4);
  row.fixed(0, 0, Le32(9)).variable(1, Utf16("old"));
  std::string text;
  EXPECT_EQ(decode(row.bytes(), text), 2);
  EXPECT_EQ(text, joined({"9", "old", "0", "NULL", "NULL"}));
}

TEST_F(RowDecoderTest, LastSlotEndsAtTheEndOfDataAndEmptyValuesAreNull) {
  RowBuilder row(5, 6);
  row.fixed(0, 0, Le32(5)).variable(1, {}).variable(4, Utf16("tail"));
  std::string text;
  EXPECT_EQ(decode(row.bytes(), text), 5);
  EXPECT_EQ(text, joined({"5", "NULL", "0", "NULL", "tail"}));
}

TEST_F(RowDecoderTest, TableWithoutVariableColumnsReadsNoSlotCount) {
  fixture.table.maxColumns = 2;
  fixture.table.columns = {FixedColumn("a", records::kTypeLong, 0, 0, 4), FixedColumn("b", records::kTypeInt, 1, 4, 2)};
  RowBuilder row(2, 6);
  row.fixed(0, 0, Le32(42)).fixed(1, 4, Le16(0xFFFF)).withoutVariableArea();
  std::string text;
  EXPECT_EQ(decode(row.bytes(), text), 2);
  EXPECT_EQ(text, joined({"42", "-1"}));
  EXPECT_EQ(row.bytes().size(), 2u + 6 + 1);
}

TEST_F(RowDecoderTest, ZeroColumnRowHasOneMaskByte) {
  std::string text;
  EXPECT_EQ(decode({0x00, 0x00, 0x00, 0x00, 0x00}, text), 0);
  EXPECT_EQ(text, joined({"NULL", "NULL", "0", "NULL", "NULL"}));
}

TEST_F(RowDecoderTest, AbortStopsBetweenColumns) {
  fixture.channel().abort = 1;
  std::string text;
  EXPECT_EQ(decode(fullRow().bytes(), text), -1);
  EXPECT_EQ(text, "unset");
}

// Damaged rows: each must end in a clean result (-1, or a row text with one value per column).
TEST_F(RowDecoderTest, CorruptRows) {
  const std::vector<uint8_t> good = fullRow().bytes();
  auto mutated = [&](size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> row = good;
    for (size_t i = 0; i < bytes.size(); ++i) row[at + i] = bytes[i];
    return row;
  };
  const size_t n = good.size();
  const size_t maskAt = n - 1, countAt = n - 3, endOfDataAt = n - 9, slot0At = n - 5, slot1At = n - 7;
  struct Corrupt {
    const char* name;
    std::vector<uint8_t> row;
    int expected;  // -1 rejected, otherwise the result and a well-formed text
  };
  const std::vector<Corrupt> cases = {
      {"column count above maxColumns", mutated(0, Le16(6)), -1},
      {"column count 0xFFFF", mutated(0, Le16(0xFFFF)), -1},
      {"slot count above N", mutated(countAt, Le16(6)), -1},
      {"slot count 0xFFFF", mutated(countAt, Le16(0xFFFF)), -1},
      {"end of data past the row", mutated(endOfDataAt, Le16(0x0FFF)), -1},
      {"end of data into the offsets", mutated(endOfDataAt, Le16(static_cast<uint16_t>(n - 8))), -1},
      {"first slot past the end of data", mutated(slot0At, Le16(0x0FFF)), -1},
      {"second slot past the end of data", mutated(slot1At, Le16(0x0FFF)), 5},
      {"second slot before the first", mutated(slot1At, Le16(1)), 5},
      {"mask all set", mutated(maskAt, {0xFF}), 5},
      {"one byte", {0x05}, -1},
      {"empty count only", {0x05, 0x00}, -1},
  };
  for (const auto& c : cases) {
    std::string text;
    const int result = decode(c.row, text);
    EXPECT_EQ(result, c.expected) << c.name;
    if (result >= 0) {
      EXPECT_EQ(records::SplitRecordText(text, 6).back(), "") << c.name;  // exactly five values
    } else {
      EXPECT_EQ(text, "unset") << c.name;
    }
  }
  // Truncated at every length, and every byte overwritten with 0x00 and 0xFF.
  for (size_t length = 0; length < n; ++length) {
    std::string text;
    decode(std::vector<uint8_t>(good.end() - static_cast<long>(length), good.end()), text);
  }
  for (size_t at = 0; at < n; ++at)
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}}) {
      std::string text;
      const int result = decode(mutated(at, {value}), text);
      EXPECT_TRUE(result == -1 || text != "unset") << at;
    }
}

TEST_F(RowDecoderTest, RowBoundsOutsideThePage) {
  fixture.prepareFields();
  struct Bounds {
    int64_t start, end;
  };
  for (Bounds b : {Bounds{-4, 10}, Bounds{4000, 4096}, Bounds{4095, 5000}, Bounds{100, 50}, Bounds{1 << 20, 1 << 21},
                   Bounds{0, 0}}) {
    std::string text = "unset";
    EXPECT_EQ(records::DecodeRow(fixture.recovery(), fixture.table, b.start, b.end, text), -1) << b.start;
    EXPECT_EQ(text, "unset");
  }
}

class RecordingWriter : public records::FieldWriter {
 public:
  bool writeField(const analysis::Column& column, analysis::Field& field) override {
    written.push_back(column.name + "=" + field.text);
    return true;
  }
  std::vector<std::string> written;
};

TEST_F(RowDecoderTest, ExportFormWritesDecodedFieldsOnly) {
  PageBuilder page = PageBuilder::DataPage(2);
  RowBuilder partial(5, 6);
  partial.fixed(0, 0, Le32(5)).variable(1, Utf16("abc")).variable(4, {}, false);
  page.addRow(fullRow().bytes());
  page.addRow(partial.bytes());
  page.addRow(RowBuilder(5, 6).variable(1, {}, false).variable(4, {}, false).bytes());  // all null
  page.addRow(fullRow().bytes(), 0xC000);                                               // deleted
  page.addRow({0xFF, 0xFF, 0x00}, 0);                                                   // malformed
  fixture.loadPage(page.page());
  fixture.prepareFields();

  struct ExportCase {
    int row;
    int result;
    std::vector<std::string> written;
  };
  const std::vector<ExportCase> cases = {
      {0, 1, {"id=5", "name=abc", "flag=1", "count=7", "note=xy"}},
      {1, 1, {"id=5", "name=abc", "flag=0"}},
      {2, 1, {}},
      {3, 0, {}},
      {4, 1, {}},
  };
  for (const auto& c : cases) {
    RecordingWriter writer;
    EXPECT_EQ(records::ReadRowForExport(fixture.recovery(), fixture.table, c.row, writer), c.result) << c.row;
    EXPECT_EQ(writer.written, c.written) << c.row;
  }
  RecordingWriter writer;
  EXPECT_EQ(records::ReadRowForExport(fixture.recovery(), fixture.table, 5000, writer), 1);
  fixture.channel().abort = 1;
  EXPECT_EQ(records::ReadRowForExport(fixture.recovery(), fixture.table, 0, writer), -1);
}

}  // namespace
