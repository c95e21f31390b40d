// Layout inference over rows built in code: each type recognised from its bytes, column numbers
// tied to the null masks, and rows that do not fit the layout refused.
#include "analysis/layout_inference.h"

#include <gtest/gtest.h>

#include <functional>

#include "analysis/row_shape.h"
#include "tests/support/page_builder.h"

namespace {

using testsupport::Concat;
using testsupport::DoubleBytes;
using testsupport::FloatBytes;
using testsupport::Le16;
using testsupport::Le32;
using testsupport::Le64;
using testsupport::RowBuilder;
using testsupport::Utf16;
using Bytes = std::vector<uint8_t>;

constexpr int kRows = 12;

struct ExpectedColumn {
  int32_t type;
  int32_t columnNumber;
  bool isFixed;
  int32_t position;  // fixed offset, or variable index
};

std::vector<support::ByteView> views(const std::vector<Bytes>& rows) {
  std::vector<support::ByteView> result;
  for (const auto& row : rows) result.emplace_back(row.data(), row.size());
  return result;
}

Bytes compressed(const std::string& text) {
  Bytes bytes = {0xFF, 0xFE};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes inlineLongValue(const Bytes& data) {
  return Concat(Concat(Concat(Le32(0x80000000u | static_cast<uint32_t>(data.size())), Le32(0)), Le32(0)), data);
}

Bytes guid(int i) {
  Bytes bytes(16);
  for (int b = 0; b < 16; ++b) bytes[static_cast<size_t>(b)] = static_cast<uint8_t>(37 * i + 11 * b + 5);
  bytes[7] = static_cast<uint8_t>(0x40 | (bytes[7] & 0x0F));  // version 4
  bytes[8] = static_cast<uint8_t>(0x80 | (bytes[8] & 0x3F));  // variant 10xx
  return bytes;
}

// A table of one id column (LONG, column 0) and one typed column (column 1) whose value for
// row i the case makes; the text column (column 2) anchors the variable area.
struct TypeCase {
  const char* name;
  int width;  // 0: a variable column
  std::function<Bytes(int)> value;
  ExpectedColumn expected;
};

std::vector<Bytes> rowsOf(const TypeCase& c) {
  std::vector<Bytes> rows;
  for (int i = 0; i < kRows; ++i) {
    RowBuilder row(3, 4 + c.width);
    row.fixed(0, 0, Le32(static_cast<uint32_t>(i + 1)));
    if (c.width > 0) {
      row.fixed(1, 4, c.value(i));
      row.variable(2, Utf16("row " + std::to_string(i)));
    } else {
      row.variable(1, c.value(i));
      row.variable(2, Utf16("row " + std::to_string(i)));
    }
    rows.push_back(row.bytes());
  }
  return rows;
}

TEST(LayoutInferenceTest, EachTypeIsRecognisedFromItsBytes) {
  const std::vector<TypeCase> cases = {
      {"byte", 1, [](int i) { return Bytes{static_cast<uint8_t>(i * 7)}; }, {2, 1, true, 4}},
      {"integer", 2, [](int i) { return Le16(static_cast<uint16_t>(222 + i)); }, {3, 1, true, 4}},
      {"long", 4, [](int i) { return Le32(static_cast<uint32_t>(1000 * i)); }, {4, 1, true, 4}},
      {"single", 4, [](int i) { return FloatBytes(1.5f + static_cast<float>(i)); }, {6, 1, true, 4}},
      {"double", 8, [](int i) { return DoubleBytes(444.555 + i * 3.25); }, {7, 1, true, 4}},
      {"date", 8, [](int i) { return DoubleBytes(27293.0 + 31 * i + (i % 3) * 0.25); }, {8, 1, true, 4}},
      {"currency", 8, [](int i) { return Le64(static_cast<uint64_t>(35000 + 100 * i)); }, {5, 1, true, 4}},
      {"guid", 16, [](int i) { return guid(i); }, {15, 1, true, 4}},
      {"compressed text", 0, [](int i) { return compressed("name " + std::to_string(i)); }, {10, 1, false, 0}},
      {"utf-16 text", 0, [](int i) { return Utf16("Straße " + std::to_string(i)); }, {10, 1, false, 0}},
      {"memo",
       0,
       [](int i) { return inlineLongValue(compressed("memo text " + std::to_string(i))); },
       {12, 1, false, 0}},
      {"ole object",
       0,
       [](int i) {
         return inlineLongValue({0x15, 0x1C, 0x2F, 0x00, static_cast<uint8_t>(i), 0x01, 0x07});
       },
       {11, 1, false, 0}},
      {"binary",
       0,
       [](int i) {
         return Bytes{0x01, 0x00, 0x00, static_cast<uint8_t>(i)};
       },
       {9, 1, false, 0}},
  };
  for (const TypeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Bytes> rows = rowsOf(c);
    const analysis::InferredLayout layout = analysis::InferRowLayout(views(rows));
    ASSERT_TRUE(layout.found);
    EXPECT_EQ(layout.rowsFitting, kRows);
    EXPECT_EQ(layout.rowsUnreadable, 0);
    EXPECT_EQ(layout.columnCount, 3u);
    ASSERT_EQ(layout.columns.size(), 3u);
    EXPECT_EQ(layout.columns[0].type, 4);
    const analysis::Column& column = layout.columns[1];
    EXPECT_EQ(column.type, c.expected.type);
    EXPECT_EQ(column.columnNumber, c.expected.columnNumber);
    EXPECT_EQ(column.isFixed, c.expected.isFixed);
    EXPECT_EQ(column.isFixed ? column.fixedOffset : column.variableIndex, c.expected.position);
    EXPECT_EQ(column.name, "Column2");
  }
}

// Column numbers come from the null masks: which bit goes with which value.
TEST(LayoutInferenceTest, NullMasksTieColumnNumbersToValues) {
  struct Case {
    const char* name;
    std::function<Bytes(int)> row;
    std::vector<ExpectedColumn> expected;
  };
  const std::vector<Case> cases = {
      {"text before the id",
       [](int i) {
         RowBuilder row(2, 4);
         row.fixed(1, 0, Le32(static_cast<uint32_t>(i + 1)));
         row.variable(0, i % 3 ? Utf16("n" + std::to_string(i)) : Bytes{}, i % 3 != 0);
         return row.bytes();
       },
       {{4, 1, true, 0}, {10, 0, false, 0}}},
      {"a flag among the columns",
       [](int i) {
         RowBuilder row(3, 4);
         row.fixed(0, 0, Le32(static_cast<uint32_t>(i + 1)));
         row.present(1, i % 2 == 0);
         row.variable(2, Utf16("x" + std::to_string(i)));
         return row.bytes();
       },
       {{4, 0, true, 0}, {1, 1, true, 0}, {10, 2, false, 0}}},
      {"fixed-only rows",
       [](int i) {
         RowBuilder row(2, 12);
         row.fixed(0, 0, Le32(static_cast<uint32_t>(i + 1)));
         row.fixed(1, 4, DoubleBytes(0.5 + i));
         return row.withoutVariableArea().bytes();
       },
       {{4, 0, true, 0}, {7, 1, true, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Bytes> rows;
    for (int i = 0; i < kRows; ++i) rows.push_back(c.row(i));
    const analysis::InferredLayout layout = analysis::InferRowLayout(views(rows));
    ASSERT_TRUE(layout.found);
    EXPECT_EQ(layout.rowsUnreadable, 0);
    ASSERT_EQ(layout.columns.size(), c.expected.size());
    for (const ExpectedColumn& expected : c.expected) {
      bool seen = false;
      for (const analysis::Column& column : layout.columns) {
        if (column.columnNumber != expected.columnNumber) continue;
        seen = true;
        EXPECT_EQ(column.type, expected.type) << "column number " << expected.columnNumber;
        EXPECT_EQ(column.isFixed, expected.isFixed);
        if (expected.type != 1)
          EXPECT_EQ(column.isFixed ? column.fixedOffset : column.variableIndex, expected.position);
      }
      EXPECT_TRUE(seen) << "column number " << expected.columnNumber;
    }
  }
}

Bytes goodRow(int i) {
  RowBuilder row(3, 4);
  row.fixed(0, 0, Le32(static_cast<uint32_t>(i + 1)));
  row.variable(1, compressed("value " + std::to_string(i)));
  row.variable(2, inlineLongValue(compressed("memo " + std::to_string(i))));
  return row.bytes();
}

// The layout of LONG, TEXT, MEMO rows; each damaged row must be refused, the others kept.
TEST(LayoutInferenceTest, RowsThatDoNotFitTheLayoutAreUnreadable) {
  struct Damage {
    const char* name;
    std::function<void(Bytes&)> apply;
  };
  const auto at = [](Bytes& row, size_t fromEnd) -> uint8_t& { return row[row.size() - fromEnd]; };
  const std::vector<Damage> damages = {
      {"column count", [](Bytes& row) { row[0] ^= 0x04; }},
      {"slot count", [&](Bytes& row) { at(row, 3) ^= 0x01; }},
      {"first slot offset", [&](Bytes& row) { at(row, 5) ^= 0x02; }},
      {"slots out of order", [&](Bytes& row) { at(row, 7) ^= 0x40; }},
      {"end of data past the offsets", [&](Bytes& row) { at(row, 9) ^= 0x10; }},
      {"null bit of a text with bytes", [&](Bytes& row) { at(row, 1) &= static_cast<uint8_t>(~0x02); }},
      // The memo reference follows the count, the id and "value 3" compressed.
      {"long-value length", [](Bytes& row) { row[15] ^= 0x01; }},
      {"cut to its first bytes", [](Bytes& row) { row.resize(3); }},
      {"empty", [](Bytes& row) { row.clear(); }},
  };
  std::vector<Bytes> rows;
  for (int i = 0; i < kRows; ++i) rows.push_back(goodRow(i));
  const analysis::InferredLayout layout = analysis::InferRowLayout(views(rows));
  ASSERT_TRUE(layout.found);
  ASSERT_EQ(layout.columns.size(), 3u);
  EXPECT_EQ(layout.columns[1].type, 10);
  EXPECT_EQ(layout.columns[2].type, 12);
  analysis::Table table;
  analysis::ApplyInferredLayout(layout, table);

  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Bytes row = goodRow(3);
    ASSERT_TRUE(analysis::RowFitsLayout(support::ByteView(row.data(), row.size()), table));
    damage.apply(row);
    EXPECT_FALSE(analysis::RowFitsLayout(support::ByteView(row.data(), row.size()), table));

    // Among good rows, the damaged one is counted as unreadable and changes nothing else.
    std::vector<Bytes> mixed = rows;
    mixed[5] = row;
    const analysis::InferredLayout again = analysis::InferRowLayout(views(mixed));
    ASSERT_TRUE(again.found);
    EXPECT_EQ(again.rowsFitting, kRows - 1);
    EXPECT_EQ(again.rowsUnreadable, 1);
    ASSERT_EQ(again.columns.size(), 3u);
    for (size_t c = 0; c < 3; ++c) {
      EXPECT_EQ(again.columns[c].type, layout.columns[c].type);
      EXPECT_EQ(again.columns[c].columnNumber, layout.columns[c].columnNumber);
    }
  }
}

TEST(LayoutInferenceTest, RowsWithoutAnyCommonShapeGiveNoLayout) {
  const std::vector<std::vector<Bytes>> cases = {
      {},
      {Bytes{}, Bytes{0x01}},
      {Bytes{0x00, 0x00, 0xFF}, Bytes{0x00, 0x00, 0x00, 0x00}},  // no columns
      {Bytes(40, 0xFF), Bytes(40, 0xFF)},                        // 65535 columns
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const analysis::InferredLayout layout = analysis::InferRowLayout(views(cases[i]));
    EXPECT_FALSE(layout.found);
    EXPECT_EQ(layout.rowsUnreadable, static_cast<int64_t>(cases[i].size()));
  }
}

}  // namespace
