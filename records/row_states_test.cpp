// Row states on pages built in code: deleted entries (intact, emptied, half overwritten),
// moved rows whose pointer was deleted, and a freed page that still names the table.
#include "records/row_states.h"

#include <gtest/gtest.h>

#include "analysis/table_pages.h"
#include "records/record_fetch.h"
#include "records/record_index.h"
#include "records/record_text.h"
#include "records/row_decoder.h"
#include "records/type_names.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;
using records::RowState;

constexpr int32_t kTdefPage = 2;
constexpr uint32_t kLivePage = 6, kMovedPage = 7, kFreedPage = 8;

std::vector<uint8_t> Row(int id) {
  return RowBuilder(2, 4)
      .fixed(0, 0, Le32(static_cast<uint32_t>(id)))
      .variable(1, Utf16("r" + std::to_string(id)))
      .bytes();
}

std::vector<uint8_t> Pointer(uint32_t page, uint8_t row) {
  return {row, static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8), static_cast<uint8_t>(page >> 16)};
}

struct Seen {
  RowState state;
  int32_t page;
  int slot;
  std::string text;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
  return out << records::RowStateName(seen.state) << " " << seen.page << "/" << seen.slot << " " << seen.text;
}

std::string Text(int id) {
  return std::to_string(id) + records::kFieldSeparator + "r" + std::to_string(id) + records::kFieldSeparator;
}

class RowStatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table().tdefPage = kTdefPage;
    table().maxColumns = 2;
    table().variableColumnCount = 1;
    table().columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4),
                       VariableColumn("name", records::kTypeText, 1, 0, 100)};
    std::vector<uint8_t> halfOverwritten = Row(3);
    std::fill(halfOverwritten.begin(), halfOverwritten.begin() + static_cast<long>(halfOverwritten.size() / 2), 0);

    PageBuilder live = PageBuilder::DataPage(kTdefPage);
    live.addRow(Row(1));
    live.addRow(Row(2), 0xC000);                                              // deleted, still whole
    live.addRow({}, 0xC000);                                                  // deleted, space reclaimed
    live.addRow(halfOverwritten, 0xC000);                                     // deleted, front overwritten
    live.addRow(Pointer(kMovedPage, 0), 0x4000);                              // row 5 moved to page 7
    live.addRow(Concat(Pointer(kMovedPage, 1), {0x00, 0x00, 0x00}), 0xC000);  // row 6 moved, then deleted
    live.addRow(Row(4));
    PageBuilder moved = PageBuilder::DataPage(kTdefPage);
    moved.addRow(Row(5), 0x8000);
    moved.addRow(Row(6), 0x8000);
    PageBuilder freed = PageBuilder::DataPage(kTdefPage);  // stale copies the map no longer lists
    freed.addRow(Row(1));
    freed.addRow(Row(7));
    freed.addRow(Row(8), 0xC000);
    freed.addRow(std::vector<uint8_t>(12, 0xFF));

    FileBuilder file = FileBuilder::Jet4Start(kLivePage);
    file.appendPage(live.page()).appendPage(moved.page()).appendPage(freed.page());
    fixture.open(file);
    table().dataPages = {kLivePage, kMovedPage};
    table().freedPages = {kFreedPage};
    table().abandonedMovedRows =
        analysis::FindAbandonedMovedRows(fixture.recovery(), {kLivePage, kMovedPage, kFreedPage});
  }

  analysis::Table& table() { return fixture.table; }

  RecordFixture fixture;
};

TEST_F(RowStatesTest, MovedRowReachedOnlyThroughADeletedPointerIsDeleted) {
  EXPECT_EQ(table().abandonedMovedRows, (std::vector<uint32_t>{kMovedPage << 8 | 1}));
}

TEST_F(RowStatesTest, RecoveredRowsAndCounts) {
  fixture.prepareFields();
  std::vector<Seen> seen;
  const records::RowStateCounts counts =
      records::WalkRowStates(fixture.recovery(), table(), [&](const records::RecoveredRow& row) {
        std::string text;
        EXPECT_GT(records::DecodeRow(fixture.recovery(), table(), row.start, row.end, text), 0);
        seen.push_back({row.state, row.pageNumber, row.rowIndex, text});
        return true;
      });
  const std::vector<Seen> expected = {
      {RowState::kDeleted, kLivePage, 1, Text(2)},    {RowState::kDeleted, kMovedPage, 1, Text(6)},
      {RowState::kFreeSpace, kFreedPage, 0, Text(1)}, {RowState::kFreeSpace, kFreedPage, 1, Text(7)},
      {RowState::kFreeSpace, kFreedPage, 2, Text(8)},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(counts.live, 3);        // 1, 4 and the moved 5
  EXPECT_EQ(counts.deleted, 2);     // 2 and the abandoned moved 6
  EXPECT_EQ(counts.freeSpace, 3);   // 1, 7, 8 on the freed page
  EXPECT_EQ(counts.unreadable, 2);  // the half-overwritten 3 and the 0xFF bytes
}

TEST_F(RowStatesTest, WalkStopsWhenAsked) {
  int calls = 0;
  records::WalkRowStates(fixture.recovery(), table(), [&](const records::RecoveredRow&) { return ++calls < 2; });
  EXPECT_EQ(calls, 2);
}

// The record list, the record index and the export see the live rows only.
TEST_F(RowStatesTest, LiveReadingShowsLiveRowsOnly) {
  std::vector<std::string> texts(records::kRecordsPerScreen);
  table().currentPageIndex = 0;
  ASSERT_EQ(records::FetchRecords(fixture.recovery(), table(), texts.data()), 1);
  const auto screen = records::ScreenRecords(texts.data(), texts.size(), table().columns.size());
  std::vector<std::string> ids;
  for (const auto& record : screen) ids.push_back(record[0]);
  EXPECT_EQ(ids, (std::vector<std::string>{"1", "4", "5"}));
  EXPECT_EQ(records::RecordIndex(fixture.recovery(), table()).recordCount(), 3);
}

}  // namespace
