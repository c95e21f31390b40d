// tessaly-cli analyze over the real corpus and over bad arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"

namespace {

using nlohmann::json;
using testsupport::RunCli;

TEST(CliAnalyzeTest, EveryJet4AndAceFileIsFormat4WithAllItsPages) {
  SKIP_WITHOUT_CORPUS();
  for (const auto& path : testsupport::CorpusDatabases()) {
    auto result = RunCli({"analyze", path, "--json"});
    ASSERT_EQ(result.exitCode, 0) << path;
    json out = json::parse(result.out);
    const auto size = std::filesystem::file_size(path);
    EXPECT_TRUE(out["ok"].get<bool>()) << path;
    EXPECT_EQ(out["pagesTotal"].get<uint64_t>(), size / 4096) << path;
    EXPECT_EQ(out["pagesRead"].get<uint64_t>(), size / 4096) << path;
    EXPECT_TRUE(out["messages"].empty()) << path;
    const std::string expectedFormat = path.find(".mdb") != std::string::npos ? "MS-Access 2003" : "MS-Access 2007";
    EXPECT_EQ(out["storageFormat"], expectedFormat) << path;
    EXPECT_EQ(out["status"].front(), "Opened file successfully...") << path;
    for (const char* key : {"file", "unnamedTables", "tables", "queries"}) EXPECT_TRUE(out.contains(key)) << key;
  }
}

// The definition page of Table1 (page 15, 512 rows) zeroed: its rows still come back as a table
// whose layout was inferred, and the JSON says so.
TEST(CliAnalyzeTest, ATableWhoseDefinitionIsLostIsListedAsInferred) {
  SKIP_WITHOUT_CORPUS();
  std::vector<uint8_t> bytes = testsupport::ReadWholeFile(testsupport::CorpusFile("jet4/compIndexTestV2003.mdb"));
  ASSERT_GT(bytes.size(), 16u * 4096);
  std::fill_n(bytes.begin() + 15 * 4096, 4096, uint8_t{0});
  testsupport::TempFolder folder;
  const std::string path = folder.file("lost-definition.mdb");
  testsupport::WriteWholeFile(path, bytes);

  auto result = RunCli({"analyze", path, "--json"});
  ASSERT_EQ(result.exitCode, 0);
  json out = json::parse(result.out);
  EXPECT_EQ(out["inferredTables"], json::parse(R"([{"name": "Table1", "layoutSource": "rows", "rowsRead": 512,
                                                     "unreadableRows": 0}])"));
  bool listed = false;
  for (const auto& table : out["tables"]) {
    if (table["name"] != "Table1") continue;
    listed = true;
    EXPECT_EQ(table["layoutSource"], "rows");
    std::vector<std::string> types;
    for (const auto& column : table["columns"]) types.push_back(column["type"]);
    EXPECT_EQ(types, (std::vector<std::string>{"COUNTER", "TEXT", "TEXT"}));
  }
  EXPECT_TRUE(listed);
  const auto& status = out["status"];
  EXPECT_NE(
      std::find(status.begin(), status.end(), "Layout of table Table1 inferred from its rows, rows not readable : 0"),
      status.end());
}

TEST(CliAnalyzeTest, Jet3FilesAreRefused) {
  SKIP_WITHOUT_CORPUS();
  for (const auto& path : testsupport::Jet3Databases()) {
    auto result = RunCli({"analyze", path, "--json"});
    EXPECT_EQ(result.exitCode, 1) << path;
    json out = json::parse(result.out);
    EXPECT_FALSE(out["ok"].get<bool>());
    EXPECT_EQ(out["messages"], json::array({"File format not Supported."}));
  }
}

TEST(CliAnalyzeTest, UsageErrorsAndUnreadablePathsExitWith2) {
  testsupport::TempFolder folder;
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"analyze"},
                                                                {"analyze", folder.file("missing.mdb")},
                                                                {"analyze", folder.path()},
                                                                {"analyze", "a.mdb", "--bogus"},
                                                                {"no-such-command"}}) {
    auto result = RunCli(args);
    EXPECT_EQ(result.exitCode, 2) << (args.empty() ? "" : args.back());
    EXPECT_TRUE(result.out.empty());
  }
}

}  // namespace
