// One table's export, as CSV and into a new Access database written by our Jet 4 writer and
// read back by our analyzer: the value rules per column type, deleted and all-null rows, the
// schema-only form, tables without data pages, and text columns keeping their width.
#include "export/table_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "export/access_target.h"
#include "export/export_folder.h"
#include "export/schema_statements.h"
#include "platform/file_system.h"
#include "records/record_fetch.h"
#include "records/record_text.h"
#include "records/type_names.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/export_rows.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

using Row = ExportRow;

class TableExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ShapeExportTable(fixture, "T"); }

  void openWithRows(const std::vector<Row>& rows) { OpenWithExportRows(fixture, rows); }

  // The CSV file's text after an export in mode; the export's result in *result.
  std::string exportCsv(int mode, int* result = nullptr) {
    const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
    const int r =
        exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatCsv, mode, {folder, "T"});
    if (result) *result = r;
    const auto bytes = ReadWholeFile(folder + "/Tables/T.csv");
    return std::string(bytes.begin(), bytes.end());
  }

  // Exports into a new Access database and reads table T back with our analyzer: its records
  // as the record list shows them, each value under its column's name, and its columns.
  std::vector<std::map<std::string, std::string>> exportToAccessAndReadBack(
      int mode, int* result = nullptr, std::vector<analysis::Column>* columns = nullptr) {
    TempFolder targetFolder;
    std::string path;
    EXPECT_EQ(exporter::CreateTarget(fixture.recovery(), targetFolder.path(), "Shop", &path), 1);
    const int r = exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatAccess, mode);
    if (result) *result = r;
    EXPECT_EQ(exporter::CloseTarget(fixture.recovery()), 1);

    analysis::ProgressChannel channel;
    analysis::MdbRecovery reader(channel);
    EXPECT_TRUE(testsupport::RunAnalysis(reader, path).ok);
    std::vector<std::map<std::string, std::string>> records;
    for (auto& table : analysis::g_tables) {
      if (table.name != "T") continue;
      if (columns) *columns = table.columns;
      table.currentPageIndex = table.nextRecordIndex = table.nextRowInPage = 0;
      std::vector<std::string> texts(records::kRecordsPerScreen);
      if (records::FetchRecords(reader, table, texts.data()) != 1) continue;
      for (const auto& values : records::ScreenRecords(texts.data(), texts.size(), table.columns.size())) {
        std::map<std::string, std::string> record;
        for (size_t i = 0; i < values.size(); ++i) record[table.columns[i].name] = values[i];
        records.push_back(record);
      }
    }
    analysis::g_tables.clear();
    return records;
  }

  RecordFixture fixture;
  TempFolder destination;
};

TEST_F(TableExportTest, CsvValuesByColumnType) {
  struct Case {
    const char* what;
    Row row;
    const char* line;
  };
  const Case cases[] = {
      {"bit set, numeric padded", {1, true, 42, "plain"}, "1,Yes,0000000000000000.42,plain\n"},
      {"bit clear", {2, false, 7, "x"}, "2,No,0000000000000000.07,x\n"},
      {"quote, apostrophe, backslash kept, the quotes doubled",
       {3, true, 0, "say \"hi\" it's C:\\dir"},
       "3,Yes,0000000000000000.00,\"say \"\"hi\"\" it's C:\\dir\"\n"},
      {"comma", {4, false, 100, "a, b"}, "4,No,0000000000000001.00,\"a, b\"\n"},
      {"blank ends kept", {5, true, 1, "  padded\t"}, "5,Yes,0000000000000000.01,\"  padded\t\"\n"},
      {"line break kept", {6, true, 1, "two\r\nlines"}, "6,Yes,0000000000000000.01,\"two\r\nlines\"\n"},
      {"empty text is no null", {7, true, 1, ""}, "7,Yes,0000000000000000.01,\"\"\n"},
  };
  for (const auto& c : cases) {
    fixture.table.dataPages.clear();
    openWithRows({c.row});
    int result = 0;
    EXPECT_EQ(exportCsv(exporter::kModeSchemaAndData, &result), std::string("id,flag,amount,note\n") + c.line)
        << c.what;
    EXPECT_EQ(result, 1) << c.what;
    EXPECT_EQ(fixture.table.exportedRecords, 1) << c.what;
  }
}

TEST_F(TableExportTest, CsvSkipsDeletedRowsAndKeepsAllNullRecords) {
  openWithRows({{1, true, 1, "a"}, {9, true, 9, "old", 0xC000}, {0, false, 0, "", 0, true}, {3, false, 3, "c"}});
  EXPECT_EQ(exportCsv(exporter::kModeSchemaAndData),
            "id,flag,amount,note\n"
            "1,Yes,0000000000000000.01,a\n"
            ",No,,\n"
            "3,No,0000000000000000.03,c\n");
  EXPECT_EQ(fixture.table.exportedRecords, 3);
}

TEST_F(TableExportTest, CsvSchemaOnlyAndTablesWithoutDataPages) {
  openWithRows({{1, true, 1, "a"}});
  EXPECT_EQ(exportCsv(exporter::kModeSchemaOnly), "id,COUNTER,\nflag,BIT,\namount,LONG,\nnote,TEXT,\n");
  EXPECT_EQ(fixture.table.exportedRecords, 0);

  fixture.table.dataPages.clear();
  int result = 0;
  EXPECT_EQ(exportCsv(exporter::kModeSchemaAndData, &result), "id,flag,amount,note\n");
  EXPECT_EQ(result, 1);  // an empty table is no failure
}

TEST_F(TableExportTest, CsvNeedsItsExportFolder) {
  openWithRows({{1, true, 1, "a"}});
  const std::string missing = destination.file("not-there");
  EXPECT_EQ(exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatCsv,
                                      exporter::kModeSchemaAndData, {missing, "T"}),
            -1);
  EXPECT_TRUE(platform::ListFolder(missing).empty());
  EXPECT_EQ(
      exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatCsv, exporter::kModeSchemaAndData),
      -1);  // no folder given: nothing is written anywhere
  fixture.channel().abort = 1;
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  EXPECT_EQ(exporter::ExportTableData(fixture.recovery(), fixture.table, exporter::kFormatCsv,
                                      exporter::kModeSchemaAndData, {folder, "T"}),
            -1);
}

TEST_F(TableExportTest, AccessTargetKeepsValuesAsDecoded) {
  openWithRows({{1, true, 42, "it's \"C:\\x\", y "},
                {8, true, 8, "gone", 0xC000},
                {2, false, 7, "second"},
                {0, false, 0, "", 0, true}});
  int result = 0;
  const auto records = exportToAccessAndReadBack(exporter::kModeSchemaAndData, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(fixture.table.exportedRecords, 3);
  ASSERT_EQ(records.size(), 3u);
  using Record = std::map<std::string, std::string>;
  EXPECT_EQ(records[0],
            (Record{{"id", "1"}, {"flag", "1"}, {"amount", "0000000000000000.42"}, {"note", "it's \"C:\\x\", y "}}));
  EXPECT_EQ(records[1], (Record{{"id", "2"}, {"flag", "0"}, {"amount", "0000000000000000.07"}, {"note", "second"}}));
  // id is column 0 but not flagged autonumber: a plain LONG in the new database, still NULL.
  EXPECT_EQ(records[2], (Record{{"id", "NULL"}, {"flag", "0"}, {"amount", "NULL"}, {"note", "NULL"}}));
}

TEST_F(TableExportTest, AccessSchemaOnlyAndTablesWithoutDataPagesAreCreatedEmpty) {
  for (int mode : {exporter::kModeSchemaOnly, exporter::kModeSchemaAndData}) {
    fixture.table.dataPages.clear();
    openWithRows({{1, true, 1, "a"}});
    if (mode == exporter::kModeSchemaAndData) fixture.table.dataPages.clear();
    fixture.channel().done = 0;
    int result = 0;
    std::vector<analysis::Column> columns;
    EXPECT_TRUE(exportToAccessAndReadBack(mode, &result, &columns).empty()) << mode;
    EXPECT_EQ(result, 1) << mode;
    EXPECT_EQ(fixture.channel().done.load(), 1) << mode;
    EXPECT_EQ(columns.size(), 4u) << mode;
  }
}

// A text column of 50 characters is stored as 100 bytes; the new database must get 50
// characters again, not 100.
TEST_F(TableExportTest, AccessTextColumnsKeepTheirWidth) {
  const std::string fifty(50, 'w');
  fixture.table.columns[3].length = 100;
  openWithRows({{1, true, 1, fifty.c_str()}});
  std::vector<analysis::Column> columns;
  const auto records = exportToAccessAndReadBack(exporter::kModeSchemaAndData, nullptr, &columns);
  const auto note = std::find_if(columns.begin(), columns.end(), [](const auto& c) { return c.name == "note"; });
  ASSERT_NE(note, columns.end());
  EXPECT_EQ(note->length, 100);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].at("note"), fifty);
}

TEST(TargetStatementTest, TextSizesInCharactersAndOnlyTheFlaggedCounter) {
  struct Case {
    int32_t byteLength;
    const char* asStored;
    const char* forNewDatabase;
  };
  const Case cases[] = {
      {100, "TEXT(100)", "TEXT(50)"},  {2, "TEXT(2)", "TEXT(1)"},
      {510, "TEXT(255)", "TEXT(255)"},  // as stored too, no wider than a statement may make it
      {255, "TEXT(255)", "TEXT(255)"},  // an odd length no real column has: the widest size
      {0, "TEXT(0)", "TEXT(255)"},      // a damaged length must not lose the table
  };
  for (const auto& c : cases) {
    analysis::Table table;
    table.name = "T";
    table.columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4),
                     VariableColumn("t", records::kTypeText, 1, 0, c.byteLength)};
    EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kAsStored),
              std::string("CREATE TABLE [T] \r\n(\r\n\t[id] COUNTER, \r\n\t[t] ") + c.asStored + "\r\n);");
    EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kForNewDatabase),
              std::string("CREATE TABLE [T] \r\n(\r\n\t[id] LONG, \r\n\t[t] ") + c.forNewDatabase + "\r\n);");
  }

  // Only the first LONG column flagged autonumber is a COUNTER in a new database.
  analysis::Table table;
  table.name = "T";
  table.columns = {FixedColumn("a", records::kTypeLong, 0, 0, 4), FixedColumn("b", records::kTypeLong, 1, 4, 4),
                   FixedColumn("c", records::kTypeLong, 2, 8, 4)};
  table.columns[1].isAutoNumber = table.columns[2].isAutoNumber = true;
  EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kForNewDatabase),
            "CREATE TABLE [T] \r\n(\r\n\t[a] LONG, \r\n\t[b] COUNTER, \r\n\t[c] LONG\r\n);");
  EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kAsStored),
            "CREATE TABLE [T] \r\n(\r\n\t[a] COUNTER, \r\n\t[b] LONG, \r\n\t[c] LONG\r\n);");
}

}  // namespace
