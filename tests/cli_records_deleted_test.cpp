// tessaly-cli over a database built in code whose table holds deleted rows and still names a
// freed page: records and analyze with and without --deleted, and the export of the recovered
// rows beside the live ones.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"

namespace {

using namespace testsupport;
using nlohmann::json;

constexpr uint32_t kTdefPage = 6, kMapPage = 7, kFirstPage = 8, kSecondPage = 9, kFreedPage = 10;

std::vector<uint8_t> Row(int id) {
  return RowBuilder(2, 4)
      .fixed(0, 0, Le32(static_cast<uint32_t>(id)))
      .variable(1, Utf16("n" + std::to_string(id)))
      .bytes();
}

// Live ids 1-4 on pages 8 and 9 (the map lists both); deleted 10 (whole), an emptied entry and a
// half-overwritten 11 on page 8; page 10 names the table but the map dropped it: stale 1 and 2.
std::string BuildDatabase(const TempFolder& folder) {
  ColumnSpec id = Col(4, 0, "id", 4);
  id.fixed = true;
  std::vector<uint8_t> definition =
      DefinitionBuilder().rows(4).column(id).column(Col(10, 1, "name", 100)).pages({kTdefPage})[0];
  definition[55] = 0;  // used-pages map: page 7 row 0
  definition[56] = kMapPage;
  PageBuilder map = PageBuilder::DataPage(0);
  map.addRow(Concat(Concat({0x00}, Le32(kFirstPage)), {0b011}));  // pages 8 and 9
  std::vector<uint8_t> overwritten = Row(11);
  std::fill(overwritten.begin(), overwritten.begin() + 6, 0xFF);
  PageBuilder first = PageBuilder::DataPage(kTdefPage);
  first.addRow(Row(1));
  first.addRow(Row(10), 0xC000);
  first.addRow({}, 0xC000);
  first.addRow(overwritten, 0xC000);
  first.addRow(Row(2));
  PageBuilder second = PageBuilder::DataPage(kTdefPage);
  second.addRow(Row(3));
  second.addRow(Row(4));
  PageBuilder freed = PageBuilder::DataPage(kTdefPage);
  freed.addRow(Row(1));
  freed.addRow(Row(2));
  FileBuilder file = FileBuilder::Jet4Start(6);
  file.appendPage(definition).appendPage(map.page()).appendPage(first.page()).appendPage(second.page());
  file.appendPage(freed.page());
  const std::string path = folder.file("deleted.mdb");
  file.write(path);
  return path;
}

class CliRecordsDeletedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = BuildDatabase(folder);
    const auto analyzed = RunCli({"analyze", path, "--json"});
    ASSERT_EQ(analyzed.exitCode, 0);
    const json tables = json::parse(analyzed.out)["tables"];
    for (const auto& table : tables)
      if (table.value("tdefPage", 0u) == kTdefPage) analysis = table;
    ASSERT_TRUE(analysis.is_object());
    name = analysis["name"];
  }

  TempFolder folder;
  std::string path, name;
  json analysis;
};

TEST_F(CliRecordsDeletedTest, AnalyzeCountsEveryState) {
  EXPECT_EQ(analysis["rows"], (json{{"live", 4}, {"deleted", 1}, {"freeSpace", 2}, {"unreadable", 1}}));
  EXPECT_EQ(analysis["dataPages"], 2);
  EXPECT_EQ(analysis["freedPages"], 1);
  EXPECT_EQ(analysis["usageMapDamaged"], false);
}

TEST_F(CliRecordsDeletedTest, RecordsShowLiveRowsOnlyUnlessAsked) {
  const auto live = RunCli({"records", path, name, "--all", "--json"});
  ASSERT_EQ(live.exitCode, 0);
  const json livePage = json::parse(live.out)["pages"][0];
  EXPECT_EQ(livePage["rows"], json::parse(R"([["1","n1"],["2","n2"],["3","n3"],["4","n4"]])"));
  EXPECT_FALSE(livePage.contains("states"));

  const auto all = RunCli({"records", path, name, "--all", "--json", "--deleted"});
  ASSERT_EQ(all.exitCode, 0);
  const json allPage = json::parse(all.out)["pages"][0];
  EXPECT_EQ(allPage["rows"],
            json::parse(R"([["1","n1"],["2","n2"],["3","n3"],["4","n4"],["10","n10"],["1","n1"],["2","n2"]])"));
  EXPECT_EQ(allPage["states"], json::parse(R"(["live","live","live","live","deleted","free-space","free-space"])"));

  const auto text = RunCli({"records", path, name, "--deleted"});
  ASSERT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find(name + ", page 1: 7 records\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("state"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("free-space"), std::string::npos) << text.out;
}

TEST_F(CliRecordsDeletedTest, CsvExportWritesRecoveredRowsBesideTheTable) {
  const std::string out = folder.file("out");
  CreateFolderForTest(out);
  const auto result = RunCli({"export", path, "--to", out, "--csv", "--deleted", "--table", name});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  std::string deletedCsv;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(out))
    if (entry.path().filename() == name + " (deleted).csv") deletedCsv = entry.path().string();
  ASSERT_FALSE(deletedCsv.empty());
  const std::vector<uint8_t> bytes = ReadWholeFile(deletedCsv);
  const std::string content(bytes.begin(), bytes.end());
  EXPECT_NE(content.find("state"), std::string::npos) << content;
  EXPECT_NE(content.find("deleted"), std::string::npos) << content;
  EXPECT_NE(content.find("free-space"), std::string::npos) << content;
  EXPECT_NE(content.find("n10"), std::string::npos) << content;

  const std::string plain = folder.file("plain");
  CreateFolderForTest(plain);
  ASSERT_EQ(RunCli({"export", path, "--to", plain, "--csv", "--table", name}).exitCode, 0);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(plain))
    EXPECT_EQ(entry.path().string().find("(deleted)"), std::string::npos) << entry.path();
}

// Exports the table with --deleted in format option (one new folder per format) and gives the
// written database's path, or "" when the export failed or wrote none.
std::string exportWithDeletedRows(const TempFolder& folder, const std::string& path, const std::string& name,
                                  const std::string& option, const std::string& extension) {
  const std::string out = folder.file(option.substr(2));
  CreateFolderForTest(out);
  const auto result = RunCli({"export", path, "--to", out, option, "--deleted", "--table", name});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  for (const auto& entry : std::filesystem::directory_iterator(out))
    if (entry.path().extension() == extension) return entry.path().string();
  return {};
}

TEST_F(CliRecordsDeletedTest, AccessExportAddsTheDeletedTable) {
  const std::string target = exportWithDeletedRows(folder, path, name, "--access", ".accdb");
  ASSERT_FALSE(target.empty());
  // Read back by the table's columns: the reader names the target's tables only as far as its
  // catalog allows.
  const json tables = json::parse(RunCli({"analyze", target, "--json"}).out)["tables"];
  std::string recoveredTable;
  for (const auto& table : tables)
    if (!table["columns"].empty() && table["columns"][0]["name"] == "state") recoveredTable = table["name"];
  ASSERT_FALSE(recoveredTable.empty()) << tables.dump();
  const auto records = RunCli({"records", target, recoveredTable, "--all", "--json"});
  ASSERT_EQ(records.exitCode, 0);
  EXPECT_EQ(json::parse(records.out)["pages"][0]["rows"],
            json::parse(R"([["deleted","10","n10"],["free-space","1","n1"],["free-space","2","n2"]])"));
}

TEST_F(CliRecordsDeletedTest, SqliteExportAddsTheDeletedTable) {
  const std::string target = exportWithDeletedRows(folder, path, name, "--sqlite", ".sqlite");
  ASSERT_FALSE(target.empty());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(target.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::vector<std::string> rows;
  const std::string sql = "SELECT state || ' ' || id || ' ' || name FROM \"" + name + "_deleted\" ORDER BY rowid";
  sqlite3_exec(
      db, sql.c_str(),
      [](void* out, int, char** values, char**) {
        static_cast<std::vector<std::string>*>(out)->push_back(values[0] ? values[0] : "NULL");
        return 0;
      },
      &rows, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(rows, (std::vector<std::string>{"deleted 10 n10", "free-space 1 n1", "free-space 2 n2"}));
}

}  // namespace
