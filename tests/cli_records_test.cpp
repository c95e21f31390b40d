// tessaly-cli records over a database built in code: a table whose definition states 3 rows
// while its pages hold 250 live ones among deleted entries and moved rows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"

namespace {

using namespace testsupport;
using nlohmann::json;

constexpr uint32_t kTdefPage = 6;

std::vector<uint8_t> liveRow(int id) {
  RowBuilder row(3, 4);
  row.fixed(0, 0, Le32(static_cast<uint32_t>(id))).variable(1, Utf16("name" + std::to_string(id)));
  if (id % 3 == 0)
    row.variable(2, Concat(Concat(Le32(0x80000000u | 4), Le32(0)), Concat(Le32(0), {0xFF, 0xFE, 'm', 'o'})));
  return row.bytes();
}

// Page 6 the definition; pages 7 to 9 the rows: ids 0 ... 249, with deleted entries (empty and
// old copies) and rows moved from page 7 to page 9.
std::string buildDatabase(const TempFolder& folder) {
  ColumnSpec id = Col(4, 0, "id", 4);
  id.fixed = true;
  ColumnSpec name = Col(10, 1, "name", 100);
  ColumnSpec memo = Col(12, 2, "memo", 0);
  memo.variableIndex = 1;
  FileBuilder file = FileBuilder::Jet4Start(6);
  file.appendPage(DefinitionBuilder().rows(3).column(id).column(name).column(memo).pages({kTdefPage})[0]);
  PageBuilder first = PageBuilder::DataPage(kTdefPage), second = PageBuilder::DataPage(kTdefPage),
              third = PageBuilder::DataPage(kTdefPage);
  int next = 0;
  for (int i = 0; i < 100; ++i) {
    first.addRow(liveRow(next++));
    if (i % 10 == 2) first.addRow({}, 0xC000);
    if (i % 25 == 4) first.addRow(liveRow(7777), 0xC000);
    if (i % 20 == 9) first.addRow({static_cast<uint8_t>(third.addRow(liveRow(next++), 0x8000)), 9, 0, 0}, 0x4000);
  }
  while (next < 200) second.addRow(liveRow(next++));
  while (next < 250) third.addRow(liveRow(next++));
  file.appendPage(first.page()).appendPage(second.page()).appendPage(third.page());
  const std::string path = folder.file("built.mdb");
  file.write(path);
  return path;
}

std::string tableName(const std::string& path) {
  auto analyzed = RunCli({"analyze", path, "--json"});
  const json tables = json::parse(analyzed.out)["tables"];
  for (const auto& table : tables)
    if (table.value("tdefPage", 0u) == kTdefPage) return table["name"];
  return "";
}

TEST(CliRecordsTest, EveryLiveRowOnceInScreensOfHundred) {
  TempFolder folder;
  const std::string path = buildDatabase(folder);
  const std::string name = tableName(path);
  ASSERT_FALSE(name.empty());
  auto result = RunCli({"records", path, name, "--all", "--json"});
  ASSERT_EQ(result.exitCode, 0);
  const json out = json::parse(result.out);
  EXPECT_EQ(out["table"], name);
  EXPECT_EQ(out["columns"], json::array({"id", "name", "memo"}));
  std::vector<size_t> sizes;
  std::set<int> ids;
  for (const auto& page : out["pages"]) {
    sizes.push_back(page["rows"].size());
    for (const auto& row : page["rows"]) {
      const int id = std::stoi(row[0].get<std::string>());
      ids.insert(id);
      EXPECT_EQ(row[1], "name" + std::to_string(id));
      EXPECT_EQ(row[2], id % 3 == 0 ? json("mo") : json()) << id;
    }
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{100, 100, 50}));
  EXPECT_EQ(ids.size(), 250u);
  EXPECT_EQ(*ids.rbegin(), 249);

  auto second = RunCli({"records", path, name, "--page", "2", "--json"});
  ASSERT_EQ(second.exitCode, 0);
  EXPECT_EQ(json::parse(second.out)["pages"][0], out["pages"][1]);
  auto text = RunCli({"records", path, name, "--page", "3"});
  ASSERT_EQ(text.exitCode, 0);
  EXPECT_EQ(text.out.rfind(name + ", page 3: 50 records\n", 0), 0u) << text.out;
}

}  // namespace
