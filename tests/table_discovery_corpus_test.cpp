// Table discovery over the real corpus: the tables, columns and type names that analyze
// --json lists against what the peer readers list, with the catalog intact and with its data
// pages wiped, and definitions that span continuation pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/peer_cells.h"

namespace {

using nlohmann::json;
using testsupport::RunCli;

// A column as (name, type code); the peers' type names mapped to the file's type codes.
using ColumnSignature = std::vector<std::pair<std::string, int>>;

int peerTypeCode(const std::string& type) {
  static const std::map<std::string, int> kCodes = {{"boolean", 1},  {"byte", 2},     {"integer", 3}, {"long", 4},
                                                    {"currency", 5}, {"float", 6},    {"double", 7},  {"datetime", 8},
                                                    {"binary", 9},   {"text", 10},    {"ole", 11},    {"memo", 12},
                                                    {"repid", 15},   {"numeric", 16}, {"complex", 18}};
  if (auto found = kCodes.find(type); found != kCodes.end()) return found->second;
  if (type.rfind("Unknown_", 0) == 0) return std::stoi(type.substr(8), nullptr, 16);  // mdbtools' form
  return -1;
}

ColumnSignature peerColumns(const json& table) {
  ColumnSignature columns;
  for (const auto& column : table["columns"])
    columns.emplace_back(testsupport::CleanedName(column["name"]), peerTypeCode(column["type"]));
  return columns;
}

ColumnSignature ourColumns(const json& table) {
  ColumnSignature columns;
  for (const auto& column : table["columns"]) columns.emplace_back(column["name"], column["typeCode"].get<int>());
  return columns;
}

// The user tables of a peer reading: name -> columns (mdb-reader's, else mdbtools' where
// mdb-reader could not read the table).
std::map<std::string, ColumnSignature> peerUserTables(const std::string& path) {
  const json expected = testsupport::ExpectedJson(path);
  json mdbtools;
  {
    const auto file =
        testsupport::CorpusDir() + "/expected-mdbtools/" + std::filesystem::path(path).filename().string() + ".json";
    const auto bytes = testsupport::ReadWholeFile(file);
    if (!bytes.empty()) mdbtools = json::parse(bytes.begin(), bytes.end());
  }
  std::map<std::string, ColumnSignature> tables;
  for (const auto& table : expected["tables"]) {
    if (table.contains("columns")) {
      tables[table["name"]] = peerColumns(table);
      continue;
    }
    for (const auto& other : mdbtools["tables"])
      if (other["name"] == table["name"]) tables[table["name"]] = peerColumns(other);
  }
  return tables;
}

json analyze(const std::string& path) {
  auto result = RunCli({"analyze", path, "--json"});
  EXPECT_EQ(result.exitCode, 0) << path;
  return json::parse(result.out);
}

bool isCatalogTable(const std::string& name) {
  return name.rfind("ASys", 0) == 0;
}

TEST(TableDiscoveryCorpusTest, UserTablesMatchThePeersInEveryFile) {
  SKIP_WITHOUT_CORPUS();
  for (const auto& path : testsupport::CorpusDatabases()) {
    SCOPED_TRACE(path);
    const json out = analyze(path);
    std::map<std::string, json> ours;
    std::set<std::string> catalogTables;
    for (const auto& table : out["tables"]) {
      const std::string name = table["name"];
      if (isCatalogTable(name))
        catalogTables.insert(name);
      else
        EXPECT_TRUE(ours.emplace(name, table).second) << "listed twice: " << name;
    }
    EXPECT_EQ(catalogTables, (std::set<std::string>{"ASysObjects", "ASysQueries"}));

    const auto peers = peerUserTables(path);
    // The hidden data tables of complex columns (f_<GUID>_<column>) are not user tables.
    std::set<std::string> expectedNames;
    for (const auto& [name, columns] : peers) expectedNames.insert(name);
    std::set<std::string> ourNames;
    for (const auto& [name, table] : ours) ourNames.insert(name);
    EXPECT_EQ(ourNames, expectedNames);

    for (const auto& [name, columns] : peers) {
      if (!ours.count(name)) continue;
      EXPECT_EQ(ourColumns(ours[name]), columns) << name;
      EXPECT_FALSE(ours[name]["createStatement"].get<std::string>().empty()) << name;
    }
  }
}

TEST(TableDiscoveryCorpusTest, WipedCatalogDataPagesStillYieldEveryTableWithItsColumns) {
  SKIP_WITHOUT_CORPUS();
  testsupport::TempFolder folder;
  const std::regex recoveredName("Recovered Table \\d\\d+");
  for (const auto& path : testsupport::CorpusDatabases()) {
    SCOPED_TRACE(path);
    std::vector<uint8_t> bytes = testsupport::ReadWholeFile(path);
    int wiped = 0;
    for (size_t page = 0; page + 4096 <= bytes.size(); page += 4096) {
      const uint8_t* p = bytes.data() + page;
      const uint32_t owner = p[4] | p[5] << 8 | p[6] << 16 | static_cast<uint32_t>(p[7]) << 24;
      if (p[0] != 1 || owner != 2) continue;
      std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(page),
                bytes.begin() + static_cast<std::ptrdiff_t>(page + 4096), 0);
      ++wiped;
    }
    ASSERT_GT(wiped, 0);
    const std::string copy = folder.file(std::filesystem::path(path).filename().string());
    testsupport::WriteWholeFile(copy, bytes);

    const json intact = analyze(path);
    const json out = analyze(copy);
    // Every definition the intact run read is read again, the catalog's own and the other
    // system tables' among them, now all under numbered names.
    EXPECT_GE(out["tables"].size(), intact["tables"].size());
    EXPECT_GE(out["unnamedTables"].get<size_t>(), out["tables"].size());
    std::multiset<ColumnSignature> recovered;
    for (const auto& table : out["tables"]) {
      EXPECT_TRUE(std::regex_match(table["name"].get<std::string>(), recoveredName)) << table["name"];
      recovered.insert(ourColumns(table));
    }
    for (const auto& [name, columns] : peerUserTables(path)) {
      auto found = recovered.find(columns);
      EXPECT_NE(found, recovered.end()) << name;
      if (found != recovered.end()) recovered.erase(found);
    }
  }
}

TEST(TableDiscoveryCorpusTest, DefinitionsSpanningContinuationPagesDecodeWhole) {
  SKIP_WITHOUT_CORPUS();
  struct Case {
    const char* file;
    const char* table;
    uint32_t head;
    uint32_t continuation;
  };
  for (const Case& c :
       {Case{"jet4/test2V2003.mdb", "MSP_PROJECTS", 15, 19}, Case{"jet4/testV2003.mdb", "Table2", 30, 708}}) {
    SCOPED_TRACE(c.file);
    const std::string path = testsupport::CorpusFile(c.file);
    ASSERT_FALSE(path.empty());
    const json out = analyze(path);
    const auto peers = peerUserTables(path);
    bool found = false;
    for (const auto& table : out["tables"]) {
      EXPECT_NE(table["tdefPage"].get<uint32_t>(), c.continuation) << "a continuation page listed as a table";
      if (table["name"] != c.table) continue;
      found = true;
      EXPECT_EQ(table["tdefPage"].get<uint32_t>(), c.head);
      const ColumnSignature columns = ourColumns(table);
      EXPECT_GT(columns.size(), 60u);
      EXPECT_EQ(columns, peers.at(c.table));
    }
    EXPECT_TRUE(found);
  }
}

}  // namespace
