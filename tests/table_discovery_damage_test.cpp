// Corrupt it at file level: real files whose table definitions, next pointers and catalog
// rows are overwritten at random must still analyse to a clean, consistent table list.
#include <gtest/gtest.h>

#include <random>

#include "analysis/mdb_recovery.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"

namespace {

constexpr size_t kPage = 4096;

// Positions of the pages worth damaging: table definitions and the catalog's data pages.
std::vector<size_t> targetPages(const std::vector<uint8_t>& bytes) {
  std::vector<size_t> pages;
  for (size_t page = 0; (page + 1) * kPage <= bytes.size(); ++page) {
    const uint8_t* p = bytes.data() + page * kPage;
    if (p[0] == 2 || (p[0] == 1 && p[4] == 2 && p[5] == 0 && p[6] == 0 && p[7] == 0)) pages.push_back(page);
  }
  return pages;
}

TEST(TableDiscoveryDamageTest, RandomlyDamagedDefinitionsAndCatalogsEndCleanly) {
  SKIP_WITHOUT_CORPUS();
  testsupport::TempFolder folder;
  std::mt19937 random(20240611);
  for (const char* name :
       {"jet4/testV2003.mdb", "jet4/test2V2003.mdb", "ace/complexDataTestV2007.accdb", "ace/queryTestV2007.accdb"}) {
    const std::string path = testsupport::CorpusFile(name);
    ASSERT_FALSE(path.empty()) << name;
    const std::vector<uint8_t> original = testsupport::ReadWholeFile(path);
    const std::vector<size_t> pages = targetPages(original);
    ASSERT_FALSE(pages.empty());
    for (int round = 0; round < 12; ++round) {
      SCOPED_TRACE(std::string(name) + " round " + std::to_string(round));
      std::vector<uint8_t> bytes = original;
      for (int hit = 0; hit < 40; ++hit) {
        const size_t page = pages[random() % pages.size()];
        // Header words of pages 0 to 5 are the format signature: leave them, damage the rest.
        const size_t offset = 4 + random() % (kPage - 4);
        const int width = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < width && offset + i < kPage; ++i)
          bytes[page * kPage + offset + i] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
      }
      const std::string copy = folder.file("damaged.mdb");
      testsupport::WriteWholeFile(copy, bytes);

      testsupport::AnalysedFile analysed;
      const auto outcome = analysed.analyse(copy);
      ASSERT_TRUE(outcome.ok);
      EXPECT_EQ(outcome.tablesAdded.size(), analysis::g_tables.size());
      for (size_t i = 0; i < analysis::g_tables.size(); ++i) {
        const analysis::Table& table = analysis::g_tables[i];
        EXPECT_EQ(table.index, static_cast<int32_t>(i));
        EXPECT_FALSE(table.columns.empty());
        EXPECT_EQ(table.columnCount, table.columns.size());
        EXPECT_FALSE(table.createStatement.empty());
        for (const auto& column : table.columns) {
          EXPECT_FALSE(column.name.empty());
          EXPECT_LE(column.name.size(), analysis::Column::kMaxNameBytes);
        }
      }
    }
  }
  analysis::g_tables.clear();
}

}  // namespace
