// tessaly-cli export over a database built in code by our Jet 4 writer (and, where the corpus is
// present, over real files): the status lines, the statistics, the files written, the exit
// status, and the argument checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "jet4/jet4_engine.h"
#include "platform/file_system.h"
#include "support/value_builders.h"
#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"

namespace {

using namespace testsupport;
using nlohmann::json;

// Orders (id, item, paid) with three records, and Empty without any.
std::string buildShop(const TempFolder& folder) {
  const std::string path = folder.file("Shop.mdb");
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Execute("CREATE TABLE [Orders] \r\n(\r\n\t[id] COUNTER, \r\n\t[item] TEXT(50), \r\n\t[paid] BIT\r\n);");
  db->Execute("CREATE TABLE [Empty] \r\n(\r\n\t[x] LONG\r\n);");
  auto records = db->NewRecordset();
  records->Open("select * from [Orders] where 1=-1");
  const char* rows[][3] = {{"1", "tea, green", "1"}, {"2", "it's \"fine\"", "0"}, {"3", "C:\\files", "1"}};
  for (const auto& row : rows) {
    records->AddNew();
    records->SetFieldValue("id", support::TextValue(row[0]));
    records->SetFieldValue("item", support::TextValue(row[1]));
    records->SetFieldValue("paid", support::TextValue(row[2]));
    records->Update();
  }
  records->Close();
  db->Close();
  return path;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

std::string fileText(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// The one entry of a folder whose name begins with prefix.
std::string entryStartingWith(const std::string& folder, const std::string& prefix) {
  for (const auto& name : platform::ListFolder(folder))
    if (name.rfind(prefix, 0) == 0) return platform::JoinPath(folder, name);
  return "";
}

TEST(CliExportTest, CsvExportOfEveryTable) {
  TempFolder folder, destination;
  const std::string path = buildShop(folder);
  const auto result = RunCli({"export", path, "--to", destination.path(), "--csv"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string exportFolder = entryStartingWith(destination.path(), "Korvane_Selbrin_(DATE=");
  ASSERT_FALSE(exportFolder.empty());
  auto lines = linesOf(result.out);
  auto order = [&lines](const std::string& a, const std::string& b) {
    return std::find(lines.begin(), lines.end(), a) < std::find(lines.begin(), lines.end(), b);
  };
  ASSERT_GE(lines.size(), 6u) << result.out;
  EXPECT_EQ(lines[0], "Export Database started...");
  EXPECT_TRUE(order("Export started  : Orders", "Export completed : Orders")) << result.out;
  EXPECT_TRUE(order("Export completed : Orders", "Export completed Successfully...")) << result.out;
  EXPECT_TRUE(order("Export completed : Empty", "Export completed Successfully...")) << result.out;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Database Path : " + exportFolder), lines.end()) << result.out;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "                             Orders:                   3"),
            lines.end())
      << result.out;
  EXPECT_EQ(result.out.find('\r'), std::string::npos);  // no progress bar off a terminal

  EXPECT_EQ(fileText(exportFolder + "/Tables/Orders.csv"),
            "id,item,paid\n"
            "1,\"tea, green\",Yes\n"
            "2,\"it's \"\"fine\"\"\",No\n"
            "3,C:\\files,Yes\n");
  EXPECT_EQ(fileText(exportFolder + "/Tables/Empty.csv"), "x\n");
}

TEST(CliExportTest, AccessExportOfOneTableSchemaOnly) {
  TempFolder folder, destination;
  const std::string path = buildShop(folder);
  const auto result =
      RunCli({"export", path, "--to", destination.path(), "--access", "--schema-only", "--table", "Orders"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string target = entryStartingWith(destination.path(), "Recovered_Shop_On_");
  ASSERT_FALSE(target.empty());
  EXPECT_NE(result.out.find("Exported to : " + target + "\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Export started  : Empty"), std::string::npos);

  const auto analyzed = RunCli({"analyze", target, "--json"});
  ASSERT_EQ(analyzed.exitCode, 0);
  std::vector<std::string> names;
  const json tables = json::parse(analyzed.out)["tables"];
  for (const auto& table : tables) {
    const std::string name = table["name"];
    if (name.rfind("ASys", 0) == 0) continue;
    names.push_back(name);
    EXPECT_EQ(table["createStatement"],
              "CREATE TABLE [Orders] \r\n(\r\n\t[id] COUNTER, \r\n\t[item] TEXT(100), \r\n\t[paid] BIT\r\n);");
  }
  EXPECT_EQ(names, std::vector<std::string>{"Orders"});
  const auto records = RunCli({"records", target, "Orders", "--all", "--json"});
  ASSERT_EQ(records.exitCode, 0);
  const json pages = json::parse(records.out)["pages"];
  EXPECT_TRUE(pages.empty() || pages[0]["rows"].empty()) << records.out;
}

TEST(CliExportTest, ArgumentsAndNames) {
  TempFolder folder, destination;
  const std::string path = buildShop(folder);
  const std::string to = destination.path();
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{"export", path, "--csv"}, 2},
      {{"export", path, "--to", to}, 2},
      {{"export", path, "--to", to, "--csv", "--access"}, 2},
      {{"export", path, "--to", to, "--access", "--query", "Q"}, 2},
      {{"export", path, "--to", to, "--csv", "--table"}, 2},
      {{"export", path, "--to", to, "--csv", "--frobnicate"}, 2},
      {{"export", "--to", to, "--csv"}, 2},
      {{"export", folder.file("missing.mdb"), "--to", to, "--csv"}, 2},
      {{"export", path, "--to", folder.file("no-such-folder"), "--csv"}, 2},
      {{"export", path, "--to", to, "--csv", "--table", "Nope"}, 1},
      {{"export", path, "--to", to, "--csv", "--query", "Nope"}, 1},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const auto& arg : c.args) joined += arg + " ";
    EXPECT_EQ(RunCli(c.args).exitCode, c.exitCode) << joined;
  }
  // Nothing was exported by any of them.
  EXPECT_TRUE(platform::ListFolder(to).empty());
}

TEST(CliExportTest, QueriesOfARealFileAndATableThatCannotBeCreated) {
  SKIP_WITHOUT_CORPUS();
  TempFolder destination;
  const auto csv = RunCli({"export", CorpusFile("jet4/queryTestV2003.mdb"), "--to", destination.path(), "--csv",
                           "--table", "Table1", "--query", "SelectQuery"});
  ASSERT_EQ(csv.exitCode, 0) << csv.out;
  const std::string exportFolder = entryStartingWith(destination.path(), "Korvane_Selbrin_");
  EXPECT_EQ(platform::ListFolder(exportFolder + "/Queries"), std::vector<std::string>{"SelectQuery.sql"});
  EXPECT_EQ(fileText(exportFolder + "/Queries/SelectQuery.sql").rfind("\n\nSELECT", 0), 0u);

  // A column type of no name a new database knows: that table fails, so the export as a whole
  // is one with errors, although the other tables went through.
  const auto access =
      RunCli({"export", CorpusFile("ace/unsupportedFieldsTestV2007.accdb"), "--to", destination.path(), "--access"});
  EXPECT_EQ(access.exitCode, 1);
  EXPECT_NE(access.out.find("Create table query failed.. "), std::string::npos) << access.out;
  EXPECT_NE(access.out.find("Export completed with errors...\n"), std::string::npos) << access.out;

  // Complex columns are no reason to refuse a table: they arrive as their joined values.
  const auto complex =
      RunCli({"export", CorpusFile("ace/complexDataTestV2007.accdb"), "--to", destination.path(), "--access"});
  EXPECT_EQ(complex.exitCode, 0) << complex.out;
  EXPECT_EQ(complex.out.find("Create table query failed.. "), std::string::npos) << complex.out;
}

}  // namespace
