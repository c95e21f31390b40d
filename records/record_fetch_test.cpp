// Record retrieval: screens of 100, entries that are not records, definitions that under-count
// their rows, going back to an earlier screen, and damaged pages.
#include "records/record_fetch.h"

#include <gtest/gtest.h>

#include <set>

#include "records/record_cursor.h"
#include "records/record_index.h"
#include "records/record_text.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

constexpr int32_t kTdefPage = 2;
constexpr size_t kFirstDataPage = 6;

struct Position {
  int32_t page, record, row;
  bool operator==(const Position&) const = default;
};

class RecordFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture.table.tdefPage = kTdefPage;
    fixture.table.maxColumns = 2;
    fixture.table.columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4),
                             VariableColumn("name", records::kTypeText, 1, 0, 100)};
  }

  static std::vector<uint8_t> liveRow(int id) {
    return RowBuilder(2, 4)
        .fixed(0, 0, Le32(static_cast<uint32_t>(id)))
        .variable(1, Utf16("r" + std::to_string(id)))
        .bytes();
  }

  // Data pages holding the given ids (an id below 0 is a deleted, empty entry).
  void openWithPages(const std::vector<std::vector<int>>& pages) {
    FileBuilder file = FileBuilder::Jet4Start(kFirstDataPage);
    for (const auto& ids : pages) {
      PageBuilder page = PageBuilder::DataPage(kTdefPage);
      for (int id : ids) id >= 0 ? page.addRow(liveRow(id)) : page.addRow({}, 0xC000);
      fixture.table.dataPages.push_back(static_cast<int32_t>(file.pageCount()));
      file.appendPage(page.page());
    }
    fixture.open(file);
  }

  std::vector<std::vector<std::string>> fetchScreen(int expectedResult = 1) {
    std::vector<std::string> texts(records::kRecordsPerScreen);
    EXPECT_EQ(records::FetchRecords(fixture.recovery(), fixture.table, texts.data()), expectedResult);
    return records::ScreenRecords(texts.data(), texts.size(), fixture.table.columns.size());
  }

  // Every screen until one holds fewer than 100 records (as Next does), as record counts.
  std::vector<size_t> screenSizes(std::vector<int>* ids = nullptr) {
    startAtTheTop();
    std::vector<size_t> sizes;
    for (int guard = 0; guard < 100; ++guard) {
      auto screen = fetchScreen();
      sizes.push_back(screen.size());
      if (ids)
        for (const auto& record : screen) ids->push_back(std::stoi(record[0]));
      if (screen.size() < records::kRecordsPerScreen) break;
    }
    return sizes;
  }

  void startAtTheTop() { setPosition({0, 0, 0}); }
  void setPosition(Position p) {
    fixture.table.currentPageIndex = p.page;
    fixture.table.nextRecordIndex = p.record;
    fixture.table.nextRowInPage = p.row;
  }
  Position position() const {
    return {fixture.table.currentPageIndex, fixture.table.nextRecordIndex, fixture.table.nextRowInPage};
  }

  static std::vector<int> range(int from, int to) {
    std::vector<int> ids;
    for (int i = from; i < to; ++i) ids.push_back(i);
    return ids;
  }

  RecordFixture fixture;
};

TEST_F(RecordFetchTest, TwoHundredFiftyRecordsGiveHundredHundredFifty) {
  openWithPages({range(0, 90), range(90, 180), range(180, 250)});
  fixture.table.rowCount = 250;
  std::vector<int> ids;
  EXPECT_EQ(screenSizes(&ids), (std::vector<size_t>{100, 100, 50}));
  EXPECT_EQ(ids, range(0, 250));
  EXPECT_EQ(fixture.table.nextRecordIndex, 250);
}

TEST_F(RecordFetchTest, ExactlyOneHundredThenAnEmptyScreen) {
  openWithPages({range(0, 100)});
  EXPECT_EQ(screenSizes(), (std::vector<size_t>{100, 0}));
}

TEST_F(RecordFetchTest, DeletedRowsAndMovedRowPointersLeaveNoHoles) {
  FileBuilder file = FileBuilder::Jet4Start(kFirstDataPage);
  // Page 6: live rows with deleted entries and pointers among them; page 7: the moved rows
  // (0x8000) and more live rows. Record ids 0 ... 229, every one exactly once.
  PageBuilder first = PageBuilder::DataPage(kTdefPage);
  PageBuilder second = PageBuilder::DataPage(kTdefPage);
  int id = 0;
  for (int i = 0; i < 120; ++i) {
    first.addRow(liveRow(id++));
    if (i % 10 == 3) first.addRow({}, 0xC000);             // deleted, space reclaimed
    if (i % 10 == 5) first.addRow(liveRow(9999), 0xC000);  // deleted, old copy kept
    if (i % 20 == 7) {                                     // moved to page 7
      const int row = second.addRow(liveRow(id++), 0x8000);
      first.addRow({static_cast<uint8_t>(row), 7, 0, 0}, 0x4000);
    }
  }
  while (id < 230) second.addRow(liveRow(id++));
  fixture.table.dataPages = {static_cast<int32_t>(file.pageCount()), static_cast<int32_t>(file.pageCount() + 1)};
  file.appendPage(first.page()).appendPage(second.page());
  fixture.open(file);
  fixture.table.rowCount = 230;

  std::vector<int> ids;
  EXPECT_EQ(screenSizes(&ids), (std::vector<size_t>{100, 100, 30}));
  std::set<int> unique(ids.begin(), ids.end());
  EXPECT_EQ(unique.size(), 230u);
  EXPECT_EQ(*unique.begin(), 0);
  EXPECT_EQ(*unique.rbegin(), 229);
}

TEST_F(RecordFetchTest, DefinitionStatingFewerRowsShowsEveryRow) {
  openWithPages({range(0, 60), {-1, -1}, range(60, 150)});
  fixture.table.rowCount = 3;
  std::vector<int> ids;
  EXPECT_EQ(screenSizes(&ids), (std::vector<size_t>{100, 50}));
  EXPECT_EQ(ids, range(0, 150));
  EXPECT_EQ(fixture.table.rowCount, 3u);
}

TEST_F(RecordFetchTest, PrevReturnsTheSameScreen) {
  openWithPages({range(0, 70), {-1, 5000}, range(70, 140), range(140, 260)});
  startAtTheTop();
  fetchScreen();
  const Position secondStart = position();
  const auto second = fetchScreen();
  const Position thirdStart = position();
  const auto third = fetchScreen();
  setPosition(secondStart);
  EXPECT_EQ(fetchScreen(), second);
  EXPECT_EQ(position(), thirdStart);
  EXPECT_EQ(fetchScreen(), third);
}

TEST_F(RecordFetchTest, NoDataPagesAndAbort) {
  openWithPages({range(0, 150)});
  std::vector<std::string> texts(records::kRecordsPerScreen);
  analysis::Table empty = fixture.table;
  empty.dataPages.clear();
  EXPECT_EQ(records::FetchRecords(fixture.recovery(), empty, texts.data()), -1);

  startAtTheTop();
  fixture.channel().abort = 1;
  EXPECT_EQ(records::FetchRecords(fixture.recovery(), fixture.table, texts.data()), -1);
  EXPECT_EQ(position(), (Position{0, 0, 0}));
}

TEST_F(RecordFetchTest, DamagedPagesEndCleanly) {
  FileBuilder file = FileBuilder::Jet4Start(kFirstDataPage);
  PageBuilder overCounted = PageBuilder::DataPage(kTdefPage);
  overCounted.addRow(liveRow(1));
  overCounted.u16(12, 0xFFFF);  // row entries run past the page end
  PageBuilder garbage = PageBuilder::DataPage(kTdefPage);
  for (size_t i = 14; i < kTestPageSize; ++i) garbage.u8(i, static_cast<uint8_t>(i * 37));
  garbage.u16(12, 300);
  PageBuilder good = PageBuilder::DataPage(kTdefPage);
  good.addRow(liveRow(2));
  fixture.table.dataPages = {6, 7, 4242, -5, 8};  // 4242 and -5 are no pages of the file
  file.appendPage(overCounted.page()).appendPage(garbage.page()).appendPage(good.page());
  fixture.open(file);

  std::vector<int> ids;
  screenSizes(&ids);
  ASSERT_GE(ids.size(), 2u);
  EXPECT_EQ(ids.front(), 1);
  EXPECT_EQ(ids.back(), 2);

  setPosition({99, 0, 0});  // a position past the table: nothing left
  EXPECT_TRUE(fetchScreen().empty());
}

// The record index must place every screen where Next would have reached it, over deleted
// rows, moved rows and their pointers, malformed rows, empty and damaged pages.
TEST_F(RecordFetchTest, IndexReachesEveryScreenWhereNextReachesIt) {
  FileBuilder file = FileBuilder::Jet4Start(kFirstDataPage);
  std::vector<PageBuilder> pages;
  int id = 0;
  for (int p = 0; p < 9; ++p) {
    PageBuilder page = PageBuilder::DataPage(kTdefPage);
    for (int i = 0; i < 40 + p * 7; ++i) {
      page.addRow(liveRow(id++));
      if ((i + p) % 9 == 2) page.addRow({}, 0xC000);              // deleted
      if ((i + p) % 11 == 3) page.addRow(liveRow(9999), 0xC000);  // deleted, old copy kept
      if ((i + p) % 13 == 4) page.addRow(liveRow(id++), 0x8000);  // a moved row: a record
      if ((i + p) % 17 == 5) page.addRow({1, 7, 0, 0}, 0x4000);   // a moved-row pointer
      if ((i + p) % 23 == 6) page.addRow({0xFF, 0xFF, 1, 2});     // column count beyond the table
      if ((i + p) % 29 == 7) page.addRow({0, 0});                 // no room for a null mask
    }
    if (p == 4) page = PageBuilder::DataPage(kTdefPage);  // an empty page among full ones
    if (p == 6) page.u16(12, 0xFFFF);                     // row entries run past the page end
    fixture.table.dataPages.push_back(static_cast<int32_t>(file.pageCount()));
    file.appendPage(page.page());
  }
  fixture.table.dataPages.insert(fixture.table.dataPages.begin() + 3, 4242);  // no page of the file
  fixture.open(file);

  // Every screen as Next gives it, each with the position it started from.
  startAtTheTop();
  std::vector<std::vector<std::string>> screens;
  for (int guard = 0; guard < 100; ++guard) {
    std::vector<std::string> texts(records::kRecordsPerScreen);
    ASSERT_EQ(records::FetchRecords(fixture.recovery(), fixture.table, texts.data()), 1);
    screens.push_back(texts);
    if (records::ScreenRecords(texts.data(), texts.size(), 2).size() < records::kRecordsPerScreen) break;
  }
  ASSERT_GE(screens.size(), 4u);
  const int64_t records = static_cast<int64_t>((screens.size() - 1) * records::kRecordsPerScreen) +
                          static_cast<int64_t>(records::ScreenRecords(screens.back().data(), 100, 2).size());

  const records::RecordIndex index(fixture.recovery(), fixture.table);
  EXPECT_EQ(index.recordCount(), records);
  for (size_t n = screens.size(); n-- > 0;) {  // backwards: no screen is reached by walking on
    index.positionAt(fixture.table, static_cast<int64_t>(n) * records::kRecordsPerScreen);
    std::vector<std::string> texts(records::kRecordsPerScreen);
    ASSERT_EQ(records::FetchRecords(fixture.recovery(), fixture.table, texts.data()), 1);
    EXPECT_EQ(texts, screens[n]) << "screen " << n + 1;
  }
  // A start inside a screen: the records from there on.
  index.positionAt(fixture.table, 150);
  std::vector<std::string> texts(records::kRecordsPerScreen);
  records::FetchRecords(fixture.recovery(), fixture.table, texts.data());
  EXPECT_EQ(texts.front(), screens[1][50]);
  // At or past the end: an empty screen.
  for (const int64_t past : {records, records + 1000}) {
    index.positionAt(fixture.table, past);
    EXPECT_TRUE(fetchScreen().empty()) << past;
  }
}

// The typed screens are the text screens, value for value, and move the paging position alike.
TEST_F(RecordFetchTest, TypedScreensMatchTheTextScreens) {
  openWithPages({range(0, 90), {-1, 90, -1}, range(91, 250)});
  startAtTheTop();
  std::vector<std::vector<std::string>> textRecords;
  std::vector<Position> textPositions;
  for (size_t n = 0; n < 3; ++n) {
    for (auto& record : fetchScreen()) textRecords.push_back(record);
    textPositions.push_back(position());
  }
  startAtTheTop();
  std::vector<records::TypedRecord> typedRecords;
  for (size_t n = 0; n < 3; ++n) {
    std::vector<records::TypedRecord> screen;
    ASSERT_EQ(records::FetchTypedRecords(fixture.recovery(), fixture.table, screen), 1);
    EXPECT_EQ(position(), textPositions[n]) << n;
    typedRecords.insert(typedRecords.end(), screen.begin(), screen.end());
  }
  ASSERT_EQ(typedRecords.size(), textRecords.size());
  ASSERT_EQ(typedRecords.size(), 250u);
  for (size_t r = 0; r < typedRecords.size(); ++r) {
    ASSERT_EQ(typedRecords[r].size(), 2u);
    EXPECT_EQ(typedRecords[r][0].integer, static_cast<int64_t>(r));
    for (size_t c = 0; c < 2; ++c)
      EXPECT_EQ(records::ValueText(fixture.table.columns[c], typedRecords[r][c]), textRecords[r][c]) << r;
  }
  fixture.table.dataPages.clear();
  std::vector<records::TypedRecord> none(1);
  EXPECT_EQ(records::FetchTypedRecords(fixture.recovery(), fixture.table, none), -1);
}

// The cursor under record retrieval: records in page and entry order with their positions and
// typed values; deleted entries, empty and missing pages skipped; a counting cursor leaves the
// table's page buffer alone; the end leaves the position past the last page's entries.
TEST_F(RecordFetchTest, CursorWalksRecordsInFileOrder) {
  openWithPages({{0, -1, 1}, {}, {2}});
  fixture.table.dataPages.insert(fixture.table.dataPages.begin() + 2, 4242);  // no page of the file
  struct Seen {
    records::RowPosition position;
    int64_t id;
    std::string name;
  };
  const std::vector<Seen> expected = {{{0, 0}, 0, "r0"}, {{0, 2}, 1, "r1"}, {{3, 0}, 2, "r2"}};
  records::RecordCursor cursor(fixture.recovery(), fixture.table, records::CursorDecode::kValues);
  for (const auto& e : expected) {
    ASSERT_TRUE(cursor.next()) << e.id;
    EXPECT_EQ(cursor.state(), records::RowState::kLive);
    EXPECT_EQ(cursor.position(), e.position) << e.id;
    EXPECT_EQ(cursor.value(fixture.table.columns[0]).kind, support::ValueKind::kInt32);
    EXPECT_EQ(cursor.value(fixture.table.columns[0]).integer, e.id);
    EXPECT_EQ(cursor.value(fixture.table.columns[1]).text, e.name);
  }
  EXPECT_FALSE(cursor.next());
  EXPECT_EQ(cursor.resumePosition(), (records::RowPosition{3, 1}));

  // Starting inside a page; a counting cursor finds the same records without decoding them.
  fixture.table.pageBuffer.assign(8, 0x5A);
  records::RecordCursor counting(fixture.recovery(), static_cast<const analysis::Table&>(fixture.table),
                                 records::RowPosition{0, 1});
  ASSERT_TRUE(counting.next());
  EXPECT_EQ(counting.position(), (records::RowPosition{0, 2}));
  ASSERT_TRUE(counting.next());
  EXPECT_FALSE(counting.next());
  EXPECT_EQ(fixture.table.pageBuffer, std::vector<uint8_t>(8, 0x5A));

  fixture.channel().abort = 1;
  records::RecordCursor stopped(fixture.recovery(), fixture.table, records::CursorDecode::kValues);
  EXPECT_FALSE(stopped.next());
  EXPECT_TRUE(stopped.aborted());
}

TEST(RecordTextTest, MessagesAreNotRecordsAndValuesSplitPerColumn) {
  const std::string sep = "@##@#$~##%";
  for (const std::string text :
       {"", "ERROR Reading Record", "Could not read lookup row.", " This row was deleted in Original database",
        " This row was deleted in Original database This row was deleted in Original database",
        "Could not read lookup row. This row was deleted in Original database"})
    EXPECT_FALSE(records::IsRecordText(text)) << text;
  EXPECT_TRUE(records::IsRecordText("1" + sep));
  EXPECT_EQ(records::SplitRecordText("a" + sep + "NULL" + sep, 3), (std::vector<std::string>{"a", "NULL", ""}));
  EXPECT_EQ(records::SplitRecordText("a" + sep + "b" + sep + "c" + sep, 2), (std::vector<std::string>{"a", "b"}));
  const std::vector<std::string> texts = {"x" + sep + "y" + sep, "", "ERROR Reading Record", sep + sep, "z" + sep};
  EXPECT_EQ(records::ScreenRecords(texts.data(), texts.size(), 2),
            (std::vector<std::vector<std::string>>{{"x", "y"}, {"z", ""}}));
}

}  // namespace
