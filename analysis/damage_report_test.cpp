// The damage report of an analysis: read from the page map, the table list and the channel.
#include "analysis/damage_report.h"

#include <gtest/gtest.h>

namespace {

using analysis::g_pageMap;
using analysis::g_tables;

struct DamageCase {
  const char* name;
  std::vector<int16_t> pageTypes;
  std::vector<std::string> tables;
  int unnamed;
  std::vector<std::string> lines;
};

class DamageReportTest : public testing::TestWithParam<DamageCase> {
 protected:
  void TearDown() override {
    g_pageMap.clear();
    g_tables.clear();
  }
};

TEST_P(DamageReportTest, NamesWhatWasLost) {
  const DamageCase& c = GetParam();
  g_pageMap.clear();
  uint32_t number = 0;
  for (int16_t type : c.pageTypes) {
    analysis::PageMetaData page;
    page.pageNumber = number++;
    page.pageType = type;
    g_pageMap.push_back(page);
  }
  g_tables.clear();
  for (const std::string& name : c.tables) g_tables.emplace_back().name = name;
  analysis::ProgressChannel channel;
  channel.unnamedTables = c.unnamed;
  analysis::MdbRecovery recovery(channel);
  const analysis::DamageReport report = analysis::AssessDamage(recovery);
  EXPECT_EQ(report.lines(), c.lines);
  EXPECT_EQ(report.damaged(), !c.lines.empty());
}

const std::vector<std::string> kCatalog = {"ASysObjects", "ASysQueries", "Customers"};

const DamageCase kCases[] = {
    // Blank pages (type 0) and the types 8 and 9 occur in sound files.
    {"sound", {0, 1, 2, 0, 4, 5, 8, 9}, kCatalog, 0, {}},
    {"unreadablePages", {0, 1, 0xEE, 2, 0xFF}, kCatalog, 0, {"Pages unreadable: 2"}},
    {"catalogLost",
     {0, 1, 2},
     {"Recovered Table 02", "Recovered Table 01"},
     2,
     {"Catalog lost: tables named \"Recovered Table NN\" (2)", "Saved queries lost"}},
    {"someTablesUnnamed",
     {0, 1, 2},
     {"ASysObjects", "ASysQueries", "Recovered Table 01"},
     1,
     {"Tables without a name in the catalog: 1 (named \"Recovered Table NN\")"}},
    {"queriesLost", {0, 1, 2}, {"ASysObjects", "Customers"}, 0, {"Saved queries lost"}},
    {"noTablesAtAll", {0}, {}, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Analyses, DamageReportTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
