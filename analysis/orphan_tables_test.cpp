// Tables whose definition page is lost, over files built in code: their data pages become
// tables named by the catalog or "Recovered Table NN", with a layout inferred from their rows or
// taken from a sibling definition they fit, and their records read like any other table's.
#include "analysis/orphan_tables.h"

#include <gtest/gtest.h>

#include "records/record_fetch.h"
#include "records/record_text.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"

namespace {

using testsupport::CatalogRow;
using testsupport::Col;
using testsupport::DefinitionBuilder;
using testsupport::FileBuilder;
using testsupport::Le32;
using testsupport::PageBuilder;
using testsupport::RowBuilder;
using testsupport::Utf16;
using Bytes = std::vector<uint8_t>;

Bytes compressed(const std::string& text) {
  Bytes bytes = {0xFF, 0xFE};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// A data page of rows (LONG id, TEXT name[, TEXT city]) owned by owner.
Bytes customersPage(int32_t owner, int firstId, int rows, bool withCity) {
  PageBuilder page = PageBuilder::DataPage(owner);
  for (int i = 0; i < rows; ++i) {
    RowBuilder row(withCity ? 3 : 2, 4);
    row.fixed(0, 0, Le32(static_cast<uint32_t>(firstId + i)));
    row.variable(1, compressed("name " + std::to_string(firstId + i)));
    if (withCity) row.variable(2, compressed("city " + std::to_string(i % 4)));
    page.addRow(row.bytes());
  }
  return page.page();
}

void setDefinition(FileBuilder& file, uint32_t number, const DefinitionBuilder& definition, uint16_t signature = 0) {
  Bytes page = definition.pages({number}).front();
  if (signature != 0) page[2] = signature & 0xFF, page[3] = signature >> 8;
  file.setPage(number, page);
}

class OrphanTablesTest : public ::testing::Test {
 protected:
  ~OrphanTablesTest() override { analysis::g_tables.clear(); }

  // The catalog (page 2 with its rows on page 6) names Customers at page 7; the sibling
  // "People" at 11 has a definition (LONG, TEXT).
  FileBuilder baseFile() {
    FileBuilder file = FileBuilder::Jet4Start(16);
    testsupport::ColumnSpec id = Col(4, 0, "Id", 4);
    id.fixed = true;
    const DefinitionBuilder people = DefinitionBuilder().column(id).column(Col(10, 1, "Name", 100));
    setDefinition(file, 2, DefinitionBuilder().tableType(0x53).column(Col(4, 0, "Id", 4)), 0x0BDE);
    PageBuilder catalog = PageBuilder::DataPage(2);
    for (const auto& [id, name] :
         std::vector<std::pair<int32_t, std::string>>{{2, "MSysObjects"}, {7, "Customers"}, {11, "People"}})
      catalog.addRow(CatalogRow(id, 1, Utf16(name)));
    file.setPage(6, catalog.page());
    setDefinition(file, 11, people);
    file.setPage(12, customersPage(11, 100, 3, false));
    return file;
  }

  testsupport::AnalysisOutcome run(const FileBuilder& file) {
    const std::string path = folder.file("db.mdb");
    file.write(path);
    return testsupport::RunAnalysis(recovery, path, &view);
  }

  analysis::Table* table(const std::string& name) {
    for (auto& t : analysis::g_tables)
      if (t.name == name) return &t;
    return nullptr;
  }

  std::vector<std::vector<std::string>> records(analysis::Table& t) {
    std::vector<std::string> texts(records::kRecordsPerScreen);
    t.currentPageIndex = -1;
    t.nextRecordIndex = 0;
    t.nextRowInPage = 0;
    EXPECT_EQ(records::FetchRecords(recovery, t, texts.data()), 1);
    return records::ScreenRecords(texts.data(), texts.size(), t.columns.size());
  }

  testsupport::TempFolder folder;
  testsupport::RecordingView view;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery{channel};
};

TEST_F(OrphanTablesTest, RowsOfALostDefinitionBecomeATableNamedByTheCatalog) {
  FileBuilder file = baseFile();
  file.setPage(8, customersPage(7, 1, 5, true));  // page 7 holds no definition
  Bytes damaged = customersPage(7, 6, 2, true);
  damaged[14 + 2] = 0xFF, damaged[14 + 3] = 0x0F;  // row 1 starts past its end: unreadable
  file.setPage(9, damaged);
  const auto outcome = run(file);
  ASSERT_TRUE(outcome.ok);

  analysis::Table* customers = table("Customers");
  ASSERT_NE(customers, nullptr);
  EXPECT_EQ(customers->layoutSource, "rows");
  EXPECT_EQ(customers->dataPages, (std::vector<int32_t>{8, 9}));
  EXPECT_EQ(customers->rowCount, 6u);
  EXPECT_EQ(customers->unreadableRows, 1);
  ASSERT_EQ(customers->columns.size(), 3u);
  const std::vector<int32_t> types = {customers->columns[0].type, customers->columns[1].type,
                                      customers->columns[2].type};
  EXPECT_EQ(types, (std::vector<int32_t>{4, 10, 10}));
  EXPECT_EQ(customers->columns[0].name, "Column1");
  const auto rows = records(*customers);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "name 1", "city 0"}));
  EXPECT_EQ(rows[5], (std::vector<std::string>{"6", "name 6", "city 0"}));

  const std::string status = "Layout of table Customers inferred from its rows, rows not readable : 1";
  EXPECT_NE(std::find(outcome.status.begin(), outcome.status.end(), status), outcome.status.end());
}

TEST_F(OrphanTablesTest, OwnersWithoutACatalogRowAreNumberedAndSiblingLayoutsAreUsed) {
  FileBuilder file = baseFile();
  file.setPage(13, customersPage(40, 1, 4, false));  // owner 40 lies past the file's end
  file.setPage(14, customersPage(9, 1, 2, true));    // page 9 is zeroed
  const auto outcome = run(file);
  ASSERT_TRUE(outcome.ok);
  std::vector<std::string> names;
  for (const auto& t : analysis::g_tables) names.push_back(t.name);
  EXPECT_EQ(names, (std::vector<std::string>{"ASysObjects", "People", "Recovered Table 02", "Recovered Table 01"}));

  analysis::Table* sameAsPeople = table("Recovered Table 01");  // the last in the list
  ASSERT_NE(sameAsPeople, nullptr);
  EXPECT_EQ(sameAsPeople->tdefPage, 40u);
  EXPECT_EQ(sameAsPeople->layoutSource, "sibling");
  ASSERT_EQ(sameAsPeople->columns.size(), 2u);
  EXPECT_EQ(sameAsPeople->columns[1].name, "Name");
  EXPECT_EQ(records(*sameAsPeople).size(), 4u);
  EXPECT_EQ(table("Recovered Table 02")->layoutSource, "rows");
  EXPECT_EQ(table("People")->layoutSource, "");
}

TEST_F(OrphanTablesTest, PagesTheFreePageMapListsAreLeftOversNotTables) {
  FileBuilder file = baseFile();
  file.setPage(8, customersPage(7, 1, 5, true));
  PageBuilder pageOne = PageBuilder::DataPage(1);
  pageOne.addRow({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01});  // page 8 free
  file.setPage(1, pageOne.page());
  ASSERT_TRUE(run(file).ok);
  EXPECT_EQ(table("Customers"), nullptr);
  EXPECT_NE(table("People"), nullptr);
}

}  // namespace
