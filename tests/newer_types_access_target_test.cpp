// The Access target (a Jet 4 file, which has neither Large Number nor extended dates nor
// calculated columns) receives a table of a newer file built in code: no column is refused,
// Large Number arrives as NUMERIC(19,0), extended dates as ISO 8601 text with seven fraction
// digits, a calculated column as a plain column holding the stored results.
#include <gtest/gtest.h>

#include "analysis/mdb_recovery.h"
#include "export/access_target.h"
#include "export/table_export.h"
#include "records/extended_types.h"
#include "records/record_fetch.h"
#include "records/row_decoder.h"
#include "records/type_names.h"
#include "tests/support/analysed_file.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

std::vector<uint8_t> cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> storedDate(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TEST(NewerTypesAccessTargetTest, EveryColumnArrivesInAJet4Form) {
  RecordFixture fixture;
  fixture.table.name = "Newer";
  fixture.table.maxColumns = 4;
  analysis::Column calculated = VariableColumn("Full", records::kTypeText, 3, 0, 255);
  calculated.extFlags = 0xC0;
  calculated.expression = "[A] & [B]";
  fixture.table.columns = {FixedColumn("ID", records::kTypeLong, 0, 0, 4),
                           FixedColumn("Big", records::kTypeLargeNumber, 1, 4, 8),
                           FixedColumn("Stamp", records::kTypeDateExtended, 2, 12, 42), calculated};
  const std::vector<uint8_t> result = Utf16("Wayne, Bruce");
  const std::vector<uint8_t> calculatedValue =
      cat(cat(cat(std::vector<uint8_t>(16, 0), Le32(static_cast<uint32_t>(result.size()))), result), {0, 0, 0});
  RowBuilder row(4, 54);
  row.fixed(0, 0, Le32(1))
      .fixed(1, 4, Le64(static_cast<uint64_t>(-5000000000LL)))
      .fixed(2, 12, storedDate("0000000000000036323:0000000459001234567:7"))
      .variable(3, calculatedValue);
  FileBuilder file = FileBuilder::Jet4Start(6);
  PageBuilder page = PageBuilder::DataPage(2);
  page.addRow(row.bytes());
  fixture.table.dataPages = {static_cast<int32_t>(file.pageCount())};
  file.appendPage(page.page());
  fixture.open(file);

  TempFolder out;
  std::string target;
  ASSERT_EQ(exporter::CreateTarget(fixture.recovery(), out.path(), "Target", &target), 1);
  ASSERT_EQ(exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatAccess,
                                      exporter::kModeSchemaAndData, {}),
            1);
  EXPECT_EQ(fixture.table.exportedRecords, 1);
  ASSERT_EQ(exporter::CloseTarget(fixture.recovery()), 1);

  AnalysedFile reader;
  ASSERT_TRUE(reader.analyse(target).ok);
  analysis::Table* written = AnalysedFile::Table("Newer");
  ASSERT_NE(written, nullptr);
  std::vector<std::pair<std::string, int>> columns;
  for (const auto& column : written->columns) columns.emplace_back(column.name, column.type);
  EXPECT_EQ(columns, (std::vector<std::pair<std::string, int>>{{"ID", records::kTypeLong},
                                                               {"Big", records::kTypeNumeric},
                                                               {"Stamp", records::kTypeText},
                                                               {"Full", records::kTypeText}}));
  written->currentPageIndex = written->nextRecordIndex = written->nextRowInPage = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  ASSERT_EQ(records::FetchRecords(reader.recovery(), *written, texts.data()), 1);
  const std::string sep = records::kFieldSeparator;
  EXPECT_EQ(texts[0],
            "1" + sep + "-0000000005000000000" + sep + "0100-06-14T12:45:00.1234567" + sep + "Wayne, Bruce" + sep);
}

}  // namespace
