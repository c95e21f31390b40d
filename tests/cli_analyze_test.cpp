// tessaly-cli analyze over the real corpus and over bad arguments.
#include <gtest/gtest.h>

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
