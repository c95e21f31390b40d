// Row states over the corpus: live record counts equal the peer reader's on every user table
// (stale rows on freed pages never mix in), and intact deleted rows come back under --deleted,
// marked, after the live records.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"

namespace {

using nlohmann::json;

struct Rows {
  std::vector<json> values;
  std::vector<std::string> states;
};

Rows AllRows(const std::string& path, const std::string& table, bool deleted) {
  std::vector<std::string> args{"records", path, table, "--all", "--json"};
  if (deleted) args.push_back("--deleted");
  const auto result = testsupport::RunCli(args);
  EXPECT_EQ(result.exitCode, 0) << table;
  Rows rows;
  if (result.exitCode != 0) return rows;
  const json pages = json::parse(result.out)["pages"];
  for (const auto& page : pages) {
    for (const auto& row : page["rows"]) rows.values.push_back(row);
    if (page.contains("states"))
      for (const auto& state : page["states"]) rows.states.push_back(state);
  }
  return rows;
}

TEST(RowStatesCorpusTest, LiveCountsEqualThePeersOnEveryTable) {
  SKIP_WITHOUT_CORPUS();
  size_t tables = 0;
  for (const auto& path : testsupport::CorpusDatabases()) {
    const json expected = testsupport::ExpectedJson(path);
    if (!expected.is_object()) continue;
    const auto analysis = testsupport::RunCli({"analyze", path, "--json"});
    ASSERT_EQ(analysis.exitCode, 0) << path;
    std::map<std::string, json> ours;
    const json ourTables = json::parse(analysis.out)["tables"];
    for (const auto& table : ourTables) ours[table["name"]] = table;
    const std::string file = std::filesystem::path(path).filename().string();
    for (const auto& table : expected["tables"]) {
      if (!table.contains("rowsReturned") || !table["rowsReturned"].is_number()) continue;  // the peer refused it
      const std::string name = table["name"];
      auto found = ours.find(name);
      if (found == ours.end()) {
        ADD_FAILURE() << file << " " << name << ": not found";
        continue;
      }
      const json& rows = found->second["rows"];
      EXPECT_EQ(rows["live"], table["rowsReturned"]) << file << " " << name << " " << rows.dump();
      ++tables;
    }
  }
  EXPECT_GT(tables, 0u);
}

// The deleted rows of testIndexPropertiesV2003, with the values their bytes hold (decoded by
// hand: compressed texts "row3" and so on, the LONG 0xFFFFFFD3, null-mask bits).
TEST(RowStatesCorpusTest, IntactDeletedRowsComeBackWithTheirValues) {
  SKIP_WITHOUT_CORPUS();
  const std::string path = testsupport::CorpusFile("jet4/testIndexPropertiesV2003.mdb");
  struct Case {
    const char* table;
    size_t live;
    const char* deleted;  // JSON rows, in page order
  };
  const Case cases[] = {
      {"TableIgnoreNulls2", 11, R"([["row3",null,"-45"],["row3",null,"-45"]])"},
      {"TableUnique1_temp", 10,
       R"([["row0","stuff"],["row1",null],["row2","more"],["row3",null],["row4","some"],["row5",null],
           ["row6","lots of stuff"],["row7","another row"],["row8",null],["row9","still more rows"],
           ["row0","stuff"],["row1","other"],["row2",null],["row3","last"],["row4",null]])"},
  };
  for (const Case& c : cases) {
    const Rows live = AllRows(path, c.table, false);
    const Rows all = AllRows(path, c.table, true);
    EXPECT_EQ(live.values.size(), c.live) << c.table;
    ASSERT_EQ(all.values.size(), all.states.size()) << c.table;
    ASSERT_GE(all.values.size(), c.live) << c.table;
    json recovered = json::array();
    for (size_t r = 0; r < all.values.size(); ++r) {
      EXPECT_EQ(all.states[r], r < c.live ? "live" : "deleted") << c.table << " " << r;
      if (r >= c.live) recovered.push_back(all.values[r]);
    }
    EXPECT_EQ(recovered, json::parse(c.deleted)) << c.table;
  }
}

}  // namespace
