// The row consistency check on rows built in code: whole rows, rows written before columns were
// added, and rows damaged the way freed space gets damaged (cut, partly overwritten).
#include "records/row_check.h"

#include <gtest/gtest.h>

#include "records/type_names.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;
using records::RowFault;

// id LONG (0, fixed 0), name TEXT (1, slot 0), flag BIT (2), count INT (3, fixed 4), note TEXT (4, slot 1)
analysis::Table MixedTable() {
  analysis::Table table;
  table.maxColumns = 5;
  table.variableColumnCount = 2;
  table.columns = {
      FixedColumn("id", records::kTypeLong, 0, 0, 4),        VariableColumn("name", records::kTypeText, 1, 0, 100),
      FixedColumn("flag", records::kTypeBit, 2, 0, 1),       FixedColumn("count", records::kTypeInt, 3, 4, 2),
      VariableColumn("note", records::kTypeText, 4, 1, 100),
  };
  return table;
}

std::vector<uint8_t> FullRow() {
  RowBuilder row(5, 6);
  row.fixed(0, 0, Le32(5)).fixed(3, 4, Le16(7)).present(2).variable(1, Utf16("abc")).variable(4, Utf16("xy"));
  return row.bytes();
}

// The full row's trailer, from its end: mask (1), slot count (2), slot 0 start, slot 1 start,
// end of data (2 each).
constexpr size_t kMaskFromEnd = 1, kCountFromEnd = 3, kSlot0FromEnd = 5, kSlot1FromEnd = 7, kDataEndFromEnd = 9;

std::vector<uint8_t> Overwritten(std::vector<uint8_t> row, size_t at, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), row.begin() + static_cast<long>(at));
  return row;
}

std::vector<uint8_t> OverwrittenFromEnd(const std::vector<uint8_t>& row, size_t fromEnd,
                                        const std::vector<uint8_t>& bytes) {
  return Overwritten(row, row.size() - fromEnd, bytes);
}

TEST(RowCheck, Verdicts) {
  const std::vector<uint8_t> full = FullRow();
  const size_t n = full.size();
  RowBuilder oldRow(2, 4);  // written when the table had id and name only
  oldRow.fixed(0, 0, Le32(9)).variable(1, Utf16("old"));
  RowBuilder noSlotsRow(1, 4);  // only id: no variable column below N, so no slot is needed
  noSlotsRow.fixed(0, 0, Le32(9));
  RowBuilder allNull(5, 6);
  allNull.variable(1, {}, false).variable(4, {}, false);
  RowBuilder shortFixed(5, 2);  // fixed area too short for count at 4..5
  shortFixed.fixed(0, 0, Le16(1)).variable(1, Utf16("a")).variable(4, Utf16("b"));
  RowBuilder tooManySlots(5, 6);
  tooManySlots.variable(1, Utf16("a")).variable(4, Utf16("b")).variable(-1, Utf16("c"));
  RowBuilder noSlots(5, 6);  // V = 0 although name and note are below N

  struct Case {
    const char* name;
    std::vector<uint8_t> row;
    RowFault expected;
  };
  const std::vector<Case> cases = {
      {"whole row", full, RowFault::kNone},
      {"row from before columns were added", oldRow.bytes(), RowFault::kNone},
      {"row with fixed columns only", noSlotsRow.bytes(), RowFault::kNone},
      {"all values null", allNull.bytes(), RowFault::kNone},
      {"emptied entry", {}, RowFault::kEmpty},
      {"one byte", {0x05}, RowFault::kColumnCount},
      {"column count 0", Overwritten(full, 0, Le16(0)), RowFault::kColumnCount},
      {"column count above the table's", Overwritten(full, 0, Le16(6)), RowFault::kColumnCount},
      {"column count 0xFFFF", Overwritten(full, 0, Le16(0xFFFF)), RowFault::kColumnCount},
      {"count and mask only", {0x05, 0x00}, RowFault::kNullMask},
      {"mask bit above the column count", OverwrittenFromEnd(full, kMaskFromEnd, {0x3F}), RowFault::kNullMask},
      {"slot count above N", OverwrittenFromEnd(full, kCountFromEnd, Le16(6)), RowFault::kVariableCount},
      {"slot count above the table's slots", tooManySlots.bytes(), RowFault::kVariableCount},
      {"no slots for variable columns below N", noSlots.bytes(), RowFault::kVariableCount},
      {"end of data past the offsets", OverwrittenFromEnd(full, kDataEndFromEnd, Le16(static_cast<uint16_t>(n))),
       RowFault::kVariableOffsets},
      {"end of data before the last slot", OverwrittenFromEnd(full, kDataEndFromEnd, Le16(10)),
       RowFault::kVariableOffsets},
      {"slot 1 before slot 0", OverwrittenFromEnd(full, kSlot1FromEnd, Le16(7)), RowFault::kVariableOffsets},
      {"slot 0 inside the column count", OverwrittenFromEnd(full, kSlot0FromEnd, Le16(1)), RowFault::kVariableOffsets},
      {"slot 0 inside the fixed area", OverwrittenFromEnd(full, kSlot0FromEnd, Le16(6)), RowFault::kFixedArea},
      {"fixed area shorter than the columns", shortFixed.bytes(), RowFault::kFixedArea},
  };
  const analysis::Table table = MixedTable();
  for (const Case& c : cases)
    EXPECT_EQ(records::CheckRow(table, support::ByteView(c.row)), c.expected)
        << c.name << ": " << records::RowFaultName(records::CheckRow(table, support::ByteView(c.row)));
}

TEST(RowCheck, TablesWithoutVariableColumnsHaveNoSlotTrailer) {
  analysis::Table table;
  table.maxColumns = 2;
  table.columns = {FixedColumn("a", records::kTypeLong, 0, 0, 4), FixedColumn("b", records::kTypeInt, 1, 4, 2)};
  RowBuilder row(2, 6);
  row.fixed(0, 0, Le32(42)).fixed(1, 4, Le16(1)).withoutVariableArea();
  RowBuilder cut(2, 4);
  cut.fixed(0, 0, Le32(42)).withoutVariableArea();
  EXPECT_EQ(records::CheckRow(table, support::ByteView(row.bytes())), RowFault::kNone);
  EXPECT_EQ(records::CheckRow(table, support::ByteView(cut.bytes())), RowFault::kFixedArea);
}

// A deleted row's slot that a later row partly overwrote: what is left must not pass.
TEST(RowCheck, HalfOverwrittenRowsFail) {
  const std::vector<uint8_t> full = FullRow();
  const size_t half = full.size() / 2;
  const std::vector<uint8_t> text = Utf16("overwritten text");
  auto front = [&](const std::vector<uint8_t>& with) {
    std::vector<uint8_t> row = full;
    for (size_t i = 0; i < half; ++i) row[i] = with[i % with.size()];
    return row;
  };
  auto back = [&](const std::vector<uint8_t>& with) {
    std::vector<uint8_t> row = full;
    for (size_t i = half; i < row.size(); ++i) row[i] = with[i % with.size()];
    return row;
  };
  const analysis::Table table = MixedTable();
  for (const auto& with : {std::vector<uint8_t>{0x00}, std::vector<uint8_t>{0xFF}, text}) {
    EXPECT_NE(records::CheckRow(table, support::ByteView(front(with))), RowFault::kNone) << int{with[0]};
    EXPECT_NE(records::CheckRow(table, support::ByteView(back(with))), RowFault::kNone) << int{with[0]};
  }
  // A slot cut short (its start moved by a later row) keeps the trailer but loses its front.
  for (size_t keep = 0; keep < full.size(); ++keep) {
    const std::vector<uint8_t> tail(full.end() - static_cast<long>(keep), full.end());
    EXPECT_NE(records::CheckRow(table, support::ByteView(tail)), RowFault::kNone) << keep;
  }
}

}  // namespace
