// Table discovery over built files: catalog names, orphan tables, continuation chains, the
// filter, the status texts and hand-overs through the channel, stops, and damaged catalogs
// and chains that must end cleanly.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "analysis/mdb_recovery.h"
#include "tests/support/analysed_file.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"

namespace {

using analysis::g_tables;
using testsupport::CatalogRow;
using testsupport::Col;
using testsupport::DefinitionBuilder;
using testsupport::FileBuilder;
using testsupport::PageBuilder;
using testsupport::Utf16;

// The word at offset 2 of pages 2 to 5 is part of the format's signature.
const std::map<uint32_t, uint16_t> kSignatureWords = {{2, 0x0BDE}, {3, 0x0EA9}, {4, 0x0DEB}, {5, 0x0CCB}};

DefinitionBuilder smallDefinition(const std::string& firstColumn, uint8_t type = 0x4E) {
  return DefinitionBuilder().tableType(type).column(Col(4, 0, firstColumn, 4)).column(Col(10, 1, "Name", 100));
}

DefinitionBuilder wideDefinition(int columns) {
  DefinitionBuilder builder;
  for (int i = 0; i < columns; ++i) builder.column(Col(10, static_cast<uint16_t>(i), "column" + std::to_string(i), 40));
  return builder;
}

struct CatalogEntry {
  int32_t id;
  uint16_t type;
  std::string name;
  uint32_t flags = 0;
};

class DatabaseFile {
 public:
  DatabaseFile() {
    definition(2, smallDefinition("Id", 0x53));
    definition(3, smallDefinition("ObjectId", 0x53));
    definition(4, smallDefinition("ObjectId", 0x53));
    definition(5, smallDefinition("ccolumn", 0x53));
  }

  // Places the definition's pages at the given numbers (head first).
  DatabaseFile& definition(uint32_t head, const DefinitionBuilder& builder, std::vector<uint32_t> continuations = {}) {
    continuations.insert(continuations.begin(), head);
    auto pages = builder.pages(continuations);
    for (size_t k = 0; k < pages.size(); ++k) setPage(continuations[k], pages[k]);
    return *this;
  }
  DatabaseFile& setPage(uint32_t number, std::vector<uint8_t> page) {
    if (auto word = kSignatureWords.find(number); word != kSignatureWords.end()) {
      page[2] = word->second & 0xFF;
      page[3] = word->second >> 8;
    }
    file.setPage(number, page);
    return *this;
  }
  // Sets the next-page pointer of a definition page.
  DatabaseFile& next(uint32_t number, const std::vector<uint8_t>& page, uint32_t nextPage) {
    std::vector<uint8_t> changed = page;
    for (int i = 0; i < 4; ++i) changed[4 + i] = (nextPage >> (8 * i)) & 0xFF;
    return setPage(number, changed);
  }
  static PageBuilder catalogPage(const std::vector<CatalogEntry>& entries) {
    PageBuilder page = PageBuilder::DataPage(2);
    for (const auto& e : entries) page.addRow(CatalogRow(e.id, e.type, Utf16(e.name)));
    return page;
  }

  FileBuilder file = FileBuilder::Jet4Start(6);
};

const std::vector<CatalogEntry> kSystemRows = {{0x0F000001, 3, "Tables"},
                                               {2, 1, "MSysObjects"},
                                               {3, 1, "MSysACEs"},
                                               {4, 1, "MSysQueries"},
                                               {5, 1, "MSysRelationships"}};

std::vector<CatalogEntry> withRows(std::vector<CatalogEntry> extra) {
  std::vector<CatalogEntry> rows = kSystemRows;
  rows.insert(rows.end(), extra.begin(), extra.end());
  return rows;
}

class TableDiscoveryTest : public ::testing::Test {
 protected:
  ~TableDiscoveryTest() override { analysis::g_tables.clear(); }

  testsupport::AnalysisOutcome run(const DatabaseFile& database, testsupport::RecordingView* view = nullptr) {
    const std::string path = folder.file("db.mdb");
    database.file.write(path);
    return file.analyse(path, view);
  }

  std::vector<std::string> tableNames() const {
    std::vector<std::string> names;
    for (const auto& table : g_tables) names.push_back(table.name);
    return names;
  }
  std::vector<uint32_t> tablePages() const {
    std::vector<uint32_t> pages;
    for (const auto& table : g_tables) pages.push_back(table.tdefPage);
    return pages;
  }
  const analysis::Table* table(uint32_t tdefPage) const {
    for (const auto& t : g_tables)
      if (t.tdefPage == tdefPage) return &t;
    return nullptr;
  }

  testsupport::TempFolder folder;
  testsupport::AnalysedFile file{testsupport::AnalysisSteps::kAnalysisLayerOnly};
  analysis::ProgressChannel& channel = file.channel();
};

// Catalog at page 6, Customers at 7 with a data page at 10, orphans at 8 and 9.
DatabaseFile customersWithOrphans() {
  DatabaseFile database;
  database.setPage(6, DatabaseFile::catalogPage(withRows({{7, 1, "Customers"}})).page());
  database.definition(7, smallDefinition("ID"));
  database.definition(8, smallDefinition("Lost"));
  database.definition(9, smallDefinition("Gone"));
  database.setPage(10, PageBuilder::DataPage(7).page());
  return database;
}

TEST_F(TableDiscoveryTest, CatalogNamesUserTablesAndNumbersTheOrphansFromTheEnd) {
  const auto outcome = run(customersWithOrphans());
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"ASysObjects", "ASysQueries", "Customers", "Recovered Table 02",
                                                    "Recovered Table 01"}));
  EXPECT_EQ(tablePages(), (std::vector<uint32_t>{2, 4, 7, 8, 9}));
  EXPECT_EQ(outcome.tablesAdded, tableNames());
  for (size_t i = 0; i < g_tables.size(); ++i) {
    EXPECT_EQ(g_tables[i].index, static_cast<int32_t>(i));
    // The definition's own type byte, read again with the schema.
    EXPECT_EQ(g_tables[i].type, i < 2 ? 0x53 : 0x4E);
    EXPECT_EQ(g_tables[i].columns.size(), 2u);
  }
  EXPECT_EQ(table(7)->dataPages, std::vector<int32_t>{10});
  EXPECT_EQ(table(8)->columns[0].name, "Lost");
  EXPECT_EQ(channel.unnamedTables.load(), 2);
  EXPECT_EQ(channel.tablesTotal.load(), 3);
  EXPECT_EQ(channel.tablesRead.load(), 3);  // the window side caps it at the total

  const std::vector<std::string> expected = {"Unnamed tables found = 2",
                                             "Analyzing Completed",
                                             "User tables found = 3",
                                             "Schema read of table : Customers",
                                             "Schema read of table : Recovered Table 02",
                                             "Schema read of table : Recovered Table 01"};
  auto first = std::find(outcome.status.begin(), outcome.status.end(), expected.front());
  ASSERT_NE(first, outcome.status.end());
  EXPECT_EQ(std::vector<std::string>(first, first + static_cast<std::ptrdiff_t>(expected.size())), expected);
  for (const auto& line : outcome.status) EXPECT_EQ(line.find("Schema read of table : ASys"), std::string::npos);
}

TEST_F(TableDiscoveryTest, CatalogVariationsDecideNamesAndWhatStays) {
  struct Case {
    const char* what;
    std::vector<CatalogEntry> rows;
    std::vector<std::string> names;
    int unnamed;
  } cases[] = {
      {"no orphans", withRows({{7, 1, "Customers"}}), {"ASysObjects", "ASysQueries", "Customers"}, 0},
      {"a later row renames",
       withRows({{7, 1, "Customers"}, {7, 1, "Clients"}}),
       {"ASysObjects", "ASysQueries", "Clients"},
       0},
      {"not a user table", withRows({{7, 5, "Customers"}}), {"ASysObjects", "ASysQueries"}, 0},
      {"other system table", withRows({{7, 1, "MSysNavPaneGroups"}}), {"ASysObjects", "ASysQueries"}, 0},
      {"hidden data table of a complex column",
       withRows({{7, 1, "f_3B07F994AD0A4B56A3A1E13B3A1D3B70_attach-data", 0x800A0000}}),
       {"ASysObjects", "ASysQueries"},
       0},
      {"user table with other flags",
       withRows({{7, 1, "Table1", 0x40000}}),
       {"ASysObjects", "ASysQueries", "Table1"},
       0},
      {"no catalog row", kSystemRows, {"ASysObjects", "ASysQueries", "Recovered Table 01"}, 1},
      {"type's high bit is dropped",
       withRows({{7, 0x81, "Customers"}}),
       {"ASysObjects", "ASysQueries", "Customers"},
       0},
      {"non-Latin table name kept whole", withRows({{7, 1, "Kunden\xC3\xBC"}}), {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DatabaseFile database;
    std::vector<CatalogEntry> rows = c.rows;
    PageBuilder catalog = PageBuilder::DataPage(2);
    for (const auto& e : rows) {
      std::vector<uint8_t> stored = Utf16(e.name);
      if (e.name == "Kunden\xC3\xBC") {
        stored = Utf16("Kunden");
        stored.insert(stored.end(), {0xFC, 0x00});
      }
      catalog.addRow(CatalogRow(e.id, e.type, stored, e.flags));
    }
    database.setPage(6, catalog.page());
    database.definition(7, smallDefinition("ID"));
    ASSERT_TRUE(run(database).ok);
    if (c.names.empty())
      EXPECT_EQ(tableNames(), (std::vector<std::string>{"ASysObjects", "ASysQueries", "Kunden\xC3\xBC"}));
    else
      EXPECT_EQ(tableNames(), c.names);
    EXPECT_EQ(channel.unnamedTables.load(), c.unnamed);
  }
}

TEST_F(TableDiscoveryTest, TableNamesKeepEveryScriptAndLoseOnlyControlCharacters) {
  struct Case {
    const char* what;
    std::vector<uint16_t> units;
    std::string expected;
  } cases[] = {
      {"Cyrillic",
       {0x041A, 0x043B, 0x0438, 0x0435, 0x043D, 0x0442, 0x044B},
       "\xD0\x9A\xD0\xBB\xD0\xB8\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B"},
      {"CJK", {0x5BA2, 0x6237}, "\xE5\xAE\xA2\xE6\x88\xB7"},
      {"tab and line break", {'a', 0x09, 'b', 0x0A}, "a_b_"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> stored;
    for (uint16_t unit : c.units)
      stored.insert(stored.end(), {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)});
    DatabaseFile database;
    PageBuilder catalog = PageBuilder::DataPage(2);
    for (const auto& e : kSystemRows) catalog.addRow(CatalogRow(e.id, e.type, Utf16(e.name)));
    catalog.addRow(CatalogRow(7, 1, stored));
    database.setPage(6, catalog.page());
    database.definition(7, smallDefinition("ID"));
    ASSERT_TRUE(run(database).ok);
    EXPECT_EQ(tableNames(), (std::vector<std::string>{"ASysObjects", "ASysQueries", c.expected}));
  }
}

TEST_F(TableDiscoveryTest, ADefinitionOverThreePagesDecodesFromTheJoinedBuffer) {
  DatabaseFile database = customersWithOrphans();
  const DefinitionBuilder wide = wideDefinition(200);
  ASSERT_EQ(wide.pagesNeeded(), 3u);
  database.definition(7, wide, {11, 12});
  const auto outcome = run(database);
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(tablePages(), (std::vector<uint32_t>{2, 4, 7, 8, 9}));
  const analysis::Table* customers = table(7);
  ASSERT_NE(customers, nullptr);
  EXPECT_EQ(customers->name, "Customers");
  ASSERT_EQ(customers->columns.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(customers->columns[i].name, "column" + std::to_string(i));
  ASSERT_EQ(customers->continuations.size(), 2u);
  EXPECT_EQ(customers->continuations[0].tdefPage, 11u);
  EXPECT_EQ(customers->continuations[1].tdefPage, 12u);
  EXPECT_EQ(channel.unnamedTables.load(), 2);
}

// Corrupt it: next pointers that loop, point nowhere or point at pages that are no definition.
TEST_F(TableDiscoveryTest, BrokenContinuationChainsEndCleanly) {
  const DefinitionBuilder wide = wideDefinition(120);  // two pages
  ASSERT_EQ(wide.pagesNeeded(), 2u);
  const auto widePages = wide.pages({7, 11});
  // A page cut off from its head is an orphan definition whose header is body bytes: it does
  // not decode and is dropped, but still counts as unnamed. The head then keeps its own
  // descriptors; the names that lay on the lost page are numbered.
  struct Case {
    const char* what;
    std::function<void(DatabaseFile&)> damage;
    std::vector<uint32_t> pages;
    bool joined;
  } cases[] = {
      {"continuation points back to the head",
       [&](DatabaseFile& d) { d.next(11, widePages[1], 7); },
       {2, 4, 7, 8, 9},
       true},
      {"continuation points to itself", [&](DatabaseFile& d) { d.next(11, widePages[1], 11); }, {2, 4, 7, 8, 9}, true},
      {"orphans point at each other",
       [&](DatabaseFile& d) {
         d.next(8, smallDefinition("Lost").pages({8})[0], 9);
         d.next(9, smallDefinition("Gone").pages({9})[0], 8);
       },
       {2, 4, 7, 8},
       true},
      {"head points to itself", [&](DatabaseFile& d) { d.next(7, widePages[0], 7); }, {2, 4, 7, 8, 9}, false},
      {"next is a data page", [&](DatabaseFile& d) { d.next(7, widePages[0], 10); }, {2, 4, 7, 8, 9}, false},
      {"next is past the file", [&](DatabaseFile& d) { d.next(7, widePages[0], 0x00FFFFFF); }, {2, 4, 7, 8, 9}, false},
      {"next is a negative owner",
       [&](DatabaseFile& d) { d.next(7, widePages[0], 0xFFFFFFF0); },
       {2, 4, 7, 8, 9},
       false},
      {"continuation page lost", [&](DatabaseFile& d) { d.setPage(11, PageBuilder().page()); }, {2, 4, 7, 8, 9}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DatabaseFile database = customersWithOrphans();
    database.definition(7, wide, {11});
    c.damage(database);
    ASSERT_TRUE(run(database).ok);
    EXPECT_EQ(tablePages(), c.pages);
    const analysis::Table* customers = table(7);
    ASSERT_NE(customers, nullptr);
    ASSERT_EQ(customers->columns.size(), 120u);
    EXPECT_EQ(customers->columns.front().name, "column0");
    if (c.joined)
      EXPECT_EQ(customers->columns.back().name, "column119");
    else
      EXPECT_EQ(customers->columns.back().name.rfind("Recovered Column ", 0), 0u) << customers->columns.back().name;
  }
}

TEST_F(TableDiscoveryTest, AContinuationPageIsNeverListedEvenAtTheFirstPosition) {
  DatabaseFile database;
  database.setPage(6, DatabaseFile::catalogPage(withRows({{9, 1, "Wide"}})).page());
  const DefinitionBuilder wide = wideDefinition(120);
  database.definition(9, wide, {2});  // the head lies after its continuation
  ASSERT_TRUE(run(database).ok);
  EXPECT_EQ(tablePages(), (std::vector<uint32_t>{4, 9}));
  ASSERT_NE(table(9), nullptr);
  EXPECT_EQ(table(9)->name, "Wide");
  EXPECT_EQ(table(9)->columns.size(), 120u);
}

// Corrupt it: catalog rows whose offsets, ids and name lengths cannot be trusted.
TEST_F(TableDiscoveryTest, DamagedCatalogRowsAreSkipped) {
  // Rows 0 to 4 are the system rows, row 5 names page 7; these change row 5 or the page.
  auto setU16 = [](std::vector<uint8_t>& page, size_t at, uint16_t value) {
    page[at] = value & 0xFF;
    page[at + 1] = value >> 8;
  };
  auto rowStart = [](const std::vector<uint8_t>& page, int row) {
    return (page[14 + 2 * row] | page[15 + 2 * row] << 8) & 0x1FFF;
  };
  auto rowEnd = [&](const std::vector<uint8_t>& page, int row) { return rowStart(page, row - 1) - 1; };
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    bool named;
  } cases[] = {
      {"intact", [](std::vector<uint8_t>&) {}, true},
      {"name length above 512", [&](std::vector<uint8_t>& p) { setU16(p, rowEnd(p, 5) - 8, 32 + 600); }, false},
      {"name runs past its row", [&](std::vector<uint8_t>& p) { setU16(p, rowEnd(p, 5) - 8, 32 + 18 + 40); }, false},
      {"name end before the name", [&](std::vector<uint8_t>& p) { setU16(p, rowEnd(p, 5) - 8, 10); }, false},
      {"empty name", [&](std::vector<uint8_t>& p) { setU16(p, rowEnd(p, 5) - 8, 32); }, false},
      {"negative id", [&](std::vector<uint8_t>& p) { setU16(p, rowStart(p, 5) + 4, 0x8000); }, false},
      {"row start past the page", [&](std::vector<uint8_t>& p) { setU16(p, 14 + 2 * 5, 0x1FFF); }, false},
      {"row too short",
       [&](std::vector<uint8_t>& p) { setU16(p, 14 + 2 * 5, static_cast<uint16_t>(rowEnd(p, 5) - 20)); }, false},
      {"deleted flags are ignored",
       [&](std::vector<uint8_t>& p) { setU16(p, 14 + 2 * 5, static_cast<uint16_t>(rowStart(p, 5) | 0xC000)); }, true},
      {"row count far past the offsets", [&](std::vector<uint8_t>& p) { setU16(p, 12, 0x7FFF); }, true},
      {"negative row count", [&](std::vector<uint8_t>& p) { setU16(p, 12, 0x8000); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DatabaseFile database;
    std::vector<uint8_t> catalog = DatabaseFile::catalogPage(withRows({{7, 1, "Customers"}})).page();
    c.damage(catalog);
    database.setPage(6, catalog);
    database.definition(7, smallDefinition("ID"));
    ASSERT_TRUE(run(database).ok);
    ASSERT_NE(table(7), nullptr);
    EXPECT_EQ(table(7)->name, c.named ? "Customers" : "Recovered Table 01");
    if (std::string(c.what) != "negative row count") {
      EXPECT_EQ(tableNames().front(), "ASysObjects");
    }
  }
}

// Keeps the tables as handed over, to check that they still are the listed ones at the end.
class PointerView : public testsupport::RecordingView {
 public:
  void tableAdded(analysis::Table* table) override {
    RecordingView::tableAdded(table);
    pointers.push_back(table);
  }
  std::vector<const analysis::Table*> pointers;
};

TEST_F(TableDiscoveryTest, HundredsOfUndecodableDefinitionsLeaveTheGoodOnesInOrder) {
  // A damaged stretch of pages that all look like table definitions but hold no columns, with
  // two real orphans among them.
  DatabaseFile database;
  database.setPage(6, DatabaseFile::catalogPage(withRows({{7, 1, "Customers"}})).page());
  database.definition(7, smallDefinition("ID"));
  std::vector<uint8_t> empty(4096, 0);
  empty[0] = 2;
  empty[1] = 1;
  for (uint32_t page = 8; page < 308; ++page) database.setPage(page, empty);
  database.definition(100, smallDefinition("Lost"));
  database.definition(200, smallDefinition("Gone"));
  PointerView view;
  const auto outcome = run(database, &view);
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(tablePages(), (std::vector<uint32_t>{2, 4, 7, 100, 200}));
  EXPECT_EQ(outcome.tablesAdded, tableNames());
  ASSERT_EQ(view.pointers.size(), g_tables.size());
  for (size_t i = 0; i < g_tables.size(); ++i) {
    EXPECT_EQ(view.pointers[i], &g_tables[i]);
    EXPECT_EQ(g_tables[i].index, static_cast<int32_t>(i));
    EXPECT_EQ(g_tables[i].columns.size(), 2u);
  }
  EXPECT_EQ(table(100)->columns[0].name, "Lost");
  EXPECT_EQ(table(200)->columns[0].name, "Gone");
}

TEST_F(TableDiscoveryTest, AStopDuringSchemaReadingKeepsTheTablesRead) {
  // The worker does not wait for the window's status display: the stop is raised as the text is written.
  channel.setStatusObserver([this](const std::string& text) {
    if (text == "Schema read of table : Customers") channel.abort = 1;
  });
  run(customersWithOrphans());
  channel.setStatusObserver(nullptr);
  EXPECT_EQ(tableNames(), (std::vector<std::string>{"ASysObjects", "ASysQueries", "Customers"}));
  for (const auto& t : g_tables) EXPECT_EQ(t.columns.size(), 2u);
}

TEST_F(TableDiscoveryTest, AStopBeforeSchemaReadingLeavesNoUnreadTables) {
  channel.setStatusObserver([this](const std::string& text) {
    if (text.rfind("User tables found", 0) == 0) channel.abort = 1;
  });
  const auto outcome = run(customersWithOrphans());
  channel.setStatusObserver(nullptr);
  EXPECT_TRUE(g_tables.empty());
  EXPECT_TRUE(outcome.tablesAdded.empty());
}

TEST_F(TableDiscoveryTest, AnalyzeGivesEveryTableItsStatementWhenTheStepsAreInstalled) {
  file.installSteps();
  ASSERT_TRUE(run(customersWithOrphans()).ok);
  ASSERT_EQ(g_tables.size(), 5u);
  EXPECT_EQ(table(7)->createStatement,
            "CREATE TABLE [Customers] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(100)\r\n);");
  for (const auto& t : g_tables) EXPECT_EQ(t.createStatement.rfind("CREATE TABLE [" + t.name + "] \r\n(", 0), 0u);
}

}  // namespace
