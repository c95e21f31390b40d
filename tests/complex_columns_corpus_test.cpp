// Complex columns of the corpus's complex-data file, joined through their hidden tables:
// attachments (names, types and bytes) against what mdb-reader extracted (expected/), and the
// multi-value and version-history values Access stored (read by hand from the file's pages).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <nlohmann/json.hpp>

#include "analysis/mdb_recovery.h"
#include "export/access_target.h"
#include "export/export_folder.h"
#include "export/export_settings.h"
#include "export/sqlite_file.h"
#include "export/table_export.h"
#include "export/table_export_sqlite.h"
#include "format/text_codec.h"
#include "platform/file_system.h"
#include "records/complex_columns.h"
#include "records/long_value.h"
#include "records/record_fetch.h"
#include "records/row_decoder.h"
#include "records/table_scan.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"
#include "tests/support/csv_reader.h"
#include "tests/support/log_capture.h"
#include "tests/support/peer_cells.h"

namespace {

using nlohmann::json;

class ComplexColumnsCorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testsupport::CorpusDir().empty()) GTEST_SKIP() << "shared corpus not found: skipped";
  }
};

// Table1's id text of each row -> the key its complex column holds.
std::map<std::string, int32_t> keysById(analysis::MdbRecovery& recovery, const analysis::Table& table,
                                        const std::string& column) {
  std::map<std::string, int32_t> keys;
  const analysis::Column* id = records::FindColumn(table, "id");
  const analysis::Column* complex = records::FindColumn(table, column);
  records::ScanTableRows(recovery, table, [&](const records::ScannedRow& row) {
    support::ByteView idBytes, keyBytes;
    if (row.value(*id, idBytes) && row.value(*complex, keyBytes))
      keys[format::DecodeJetText(idBytes)] = keyBytes.i32(0);
    return true;
  });
  return keys;
}

TEST_F(ComplexColumnsCorpusTest, AttachmentsEqualThePeersExtraction) {
  testsupport::AnalysedFile a;
  analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
  ASSERT_NE(table, nullptr);
  const analysis::Column* column = records::FindColumn(*table, "attach-data");
  ASSERT_NE(column, nullptr);
  const auto keys = keysById(a.recovery(), *table, "attach-data");

  const json expected =
      testsupport::ExpectedJson(testsupport::CorpusFile("ace/complexDataTestV2007.accdb"))["tables"][0];
  size_t attachmentColumn = 0;
  for (size_t c = 0; c < expected["columns"].size(); ++c)
    if (expected["columns"][c]["name"] == "attach-data") attachmentColumn = c;
  int files = 0;
  for (const auto& row : expected["rows"]) {
    const std::string id = row[0];
    SCOPED_TRACE(id);
    const json theirs = json::parse(row[attachmentColumn].get<std::string>());
    ASSERT_TRUE(keys.count(id));
    support::Value cell;
    ASSERT_TRUE(records::ComplexColumnValue(a.recovery(), *column, keys.at(id), cell));
    ASSERT_EQ(cell.kind, support::ValueKind::kAttachments);
    ASSERT_EQ(cell.attachments.size(), theirs.size());
    for (size_t i = 0; i < theirs.size(); ++i) {
      const support::Attachment& ours = cell.attachments[i];
      EXPECT_EQ(ours.name, theirs[i]["name"]);
      EXPECT_EQ(ours.type, theirs[i]["type"]);
      EXPECT_EQ(ours.data, testsupport::BytesOfHex(theirs[i]["data"]));
      EXPECT_EQ(ours.data.size(), theirs[i]["size"].get<size_t>());
      ++files;
    }
  }
  EXPECT_EQ(files, 3);
}

TEST_F(ComplexColumnsCorpusTest, MultiValueAndVersionHistoryValues) {
  testsupport::AnalysedFile a;
  analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
  ASSERT_NE(table, nullptr);
  const std::string history = "VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880";
  struct Case {
    const char* column;
    records::ComplexKind kind;
    std::map<std::string, std::string> textById;
  } cases[] = {
      {"multi-value-data",
       records::ComplexKind::kMultiValue,
       {{"row1", ""}, {"row2", "value1; value4"}, {"row3", "value1; value2; value3; value4"}, {"row4", ""}}},
      {"attach-data",
       records::ComplexKind::kAttachment,
       {{"row1", ""},
        {"row2", "2 files: test_data.txt, test_data2.txt"},
        {"row3", ""},
        {"row4", "1 file: test_data2.txt"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    const analysis::Column* column = records::FindColumn(*table, c.column);
    ASSERT_NE(column, nullptr);
    const records::ComplexColumnData* data = records::FindComplexColumn(a.recovery(), column->complexId);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->kind, c.kind);
    for (const auto& [id, key] : keysById(a.recovery(), *table, c.column)) {
      support::Value cell;
      ASSERT_TRUE(records::ComplexColumnValue(a.recovery(), *column, key, cell));
      EXPECT_EQ(records::ValueText(*column, cell), c.textById.at(id)) << id;
    }
  }

  // Version history: every saved text of row3, newest first, the newest equal to the memo.
  const analysis::Column* column = records::FindColumn(*table, history);
  ASSERT_NE(column, nullptr);
  const auto keys = keysById(a.recovery(), *table, history);
  ASSERT_TRUE(keys.count("row3"));
  support::Value cell;
  ASSERT_TRUE(records::ComplexColumnValue(a.recovery(), *column, keys.at("row3"), cell));
  ASSERT_EQ(cell.kind, support::ValueKind::kList);
  std::vector<std::string> texts;
  for (const auto& version : cell.items) {
    ASSERT_EQ(version.items.size(), 2u);
    EXPECT_EQ(version.items[0].kind, support::ValueKind::kDate);
    texts.push_back(version.items[1].text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"row3-memo-again", "row3-memo-revised", "row3-memo"}));
}

// The grid's row texts carry the joined values in the complex columns' places.
TEST_F(ComplexColumnsCorpusTest, RecordTextsShowTheJoinedValues) {
  testsupport::AnalysedFile a;
  analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
  ASSERT_NE(table, nullptr);
  table->currentPageIndex = table->nextRecordIndex = table->nextRowInPage = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  ASSERT_EQ(records::FetchRecords(a.recovery(), *table, texts.data()), 1);
  bool sawRow2 = false;
  for (const auto& text : texts) {
    if (text.rfind("row2", 0) != 0) continue;
    sawRow2 = true;
    EXPECT_NE(text.find("value1; value4"), std::string::npos) << text;
    EXPECT_NE(text.find("2 files: test_data.txt, test_data2.txt"), std::string::npos) << text;
  }
  EXPECT_TRUE(sawRow2);
}

// The Access target has no complex columns: the attachments go into a child table of the owner,
// one row per file with the owner's key, the file's name, type and bytes.
TEST_F(ComplexColumnsCorpusTest, AccessTargetGetsAChildTableOfFiles) {
  testsupport::TempFolder out;
  std::string target;
  {
    testsupport::AnalysedFile a;
    analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(exporter::CreateTarget(a.recovery(), out.path(), "Target", &target), 1);
    EXPECT_EQ(
        exporter::ExportTableData(a.recovery(), *table, exporter::kFormatAccess, exporter::kModeSchemaAndData, {}), 1);
    EXPECT_EQ(table->exportedRecords, 4);
    ASSERT_EQ(exporter::CloseTarget(a.recovery()), 1);
  }
  testsupport::AnalysedFile written;
  analysis::Table* files = written.open(target, "Table1_attach-data_files");
  ASSERT_NE(files, nullptr);
  const analysis::Column* key = records::FindColumn(*files, "Key");
  const analysis::Column* name = records::FindColumn(*files, "Name");
  const analysis::Column* data = records::FindColumn(*files, "Data");
  ASSERT_TRUE(key && name && data);
  std::vector<std::string> rows;
  records::ScanTableRows(written.recovery(), *files, [&](const records::ScannedRow& row) {
    support::ByteView k, n, d;
    row.value(*key, k);
    row.value(*name, n);
    row.value(*data, d);
    std::vector<uint8_t> bytes;
    records::ReadLongValueData(written.recovery(), d, records::ParseLongValueReference(d), bytes);
    rows.push_back(std::to_string(k.i32(0)) + " " + format::DecodeJetText(n) + " " + std::to_string(bytes.size()));
    return true;
  });
  EXPECT_EQ(rows, (std::vector<std::string>{"2 test_data.txt 38", "2 test_data2.txt 43", "4 test_data2.txt 43"}));
}

// The SQLite target: a child table with the owner's rowid and every file's name, type and bytes,
// equal to what mdb-reader extracted.
TEST_F(ComplexColumnsCorpusTest, SqliteTargetGetsAChildTableOfFiles) {
  testsupport::TempFolder out;
  const std::string path = out.file("t.sqlite");
  {
    testsupport::AnalysedFile a;
    analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
    ASSERT_NE(table, nullptr);
    exporter::SqliteFile file;
    ASSERT_TRUE(file.create(path));
    EXPECT_EQ(exporter::ExportTableToSqlite(a.recovery(), *table, file, exporter::kModeSchemaAndData), 1);
    EXPECT_EQ(table->exportedRecords, 4);
  }
  std::vector<std::string> ours;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* select = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(db,
                         "SELECT t.id, f.name, f.type, hex(f.data) FROM Table1 t JOIN \"Table1_attach-data_files\" "
                         "f ON f.owner_rowid = t.rowid ORDER BY f.rowid",
                         -1, &select, nullptr),
      SQLITE_OK);
  while (sqlite3_step(select) == SQLITE_ROW) {
    std::string row;
    for (int c = 0; c < 4; ++c)
      row += std::string(c ? " " : "") + reinterpret_cast<const char*>(sqlite3_column_text(select, c));
    ours.push_back(row);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);

  const json expected =
      testsupport::ExpectedJson(testsupport::CorpusFile("ace/complexDataTestV2007.accdb"))["tables"][0];
  size_t attachmentColumn = 0;
  for (size_t c = 0; c < expected["columns"].size(); ++c)
    if (expected["columns"][c]["name"] == "attach-data") attachmentColumn = c;
  std::vector<std::string> theirs;
  for (const auto& row : expected["rows"])
    for (const auto& file : json::parse(row[attachmentColumn].get<std::string>())) {
      std::string hex = file["data"].get<std::string>();
      for (auto& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      theirs.push_back(row[0].get<std::string>() + " " + file["name"].get<std::string>() + " " +
                       file["type"].get<std::string>() + " " + hex);
    }
  EXPECT_EQ(theirs.size(), 3u);
  EXPECT_EQ(ours, theirs);
}

// A CSV export writes every attachment's bytes beside the tables, one folder per record, and
// the cell lists the written files' paths; a file it cannot write fails the table.
TEST_F(ComplexColumnsCorpusTest, CsvExportWritesTheAttachmentFiles) {
  testsupport::AnalysedFile a;
  analysis::Table* table = a.open("ace/complexDataTestV2007.accdb", "Table1");
  ASSERT_NE(table, nullptr);
  testsupport::TempFolder out;
  const std::string folder = exporter::PrepareCsvExportFolder(out.path());
  ASSERT_EQ(exporter::ExportTableData(a.recovery(), *table, exporter::kFormatCsv, exporter::kModeSchemaAndData,
                                      {folder, "Table1"}),
            1);
  const testsupport::CsvParse csv = testsupport::ReadCsvFile(folder + "/Tables/Table1.csv");
  ASSERT_TRUE(csv.ok);
  ASSERT_EQ(csv.records.size(), 5u);
  size_t id = 0, cellColumn = 0;
  for (size_t c = 0; c < csv.records[0].size(); ++c) {
    if (csv.records[0][c].text == "id") id = c;
    if (csv.records[0][c].text == "attach-data") cellColumn = c;
  }
  const analysis::Column* column = records::FindColumn(*table, "attach-data");
  const auto keys = keysById(a.recovery(), *table, "attach-data");
  int files = 0;
  for (size_t record = 1; record < csv.records.size(); ++record) {
    const std::string rowId = csv.records[record][id].text;
    SCOPED_TRACE(rowId);
    support::Value cell;
    ASSERT_TRUE(records::ComplexColumnValue(a.recovery(), *column, keys.at(rowId), cell));
    std::string expectedPaths;
    for (const auto& file : cell.attachments) {
      const std::string path = "Attachments/Table1/attach-data/" + std::to_string(record) + "/" + file.name;
      expectedPaths += (expectedPaths.empty() ? "" : "\n") + path;
      EXPECT_EQ(testsupport::ReadWholeFile(folder + "/" + path), file.data) << path;
      EXPECT_FALSE(file.data.empty()) << path;
      ++files;
    }
    EXPECT_EQ(csv.records[record][cellColumn].text, expectedPaths);
    EXPECT_EQ(platform::FolderExists(folder + "/Attachments/Table1/attach-data/" + std::to_string(record)),
              !cell.attachments.empty());
  }
  EXPECT_EQ(files, 3);

  // A file that cannot be written fails the table's export (logged), after every line is written.
  testsupport::TempFolder blockedOut;
  const std::string blocked = exporter::PrepareCsvExportFolder(blockedOut.path());
  testsupport::WriteWholeFile(blocked + "/Attachments", {'x'});  // a file where the folder goes
  testsupport::LogCapture log;
  EXPECT_EQ(exporter::ExportTableData(a.recovery(), *table, exporter::kFormatCsv, exporter::kModeSchemaAndData,
                                      {blocked, "Table1"}),
            -1);
  EXPECT_EQ(testsupport::ReadCsvFile(blocked + "/Tables/Table1.csv").records.size(), 5u);
  EXPECT_EQ(log.errorMessages().size(), 3u);
}

// Another file's resources table: five uncompressed pictures and one compressed theme file
// without an extension, by key, with the names and sizes mdb-reader extracts.
TEST_F(ComplexColumnsCorpusTest, ResourcesAttachmentsRawAndCompressed) {
  testsupport::AnalysedFile a;
  ASSERT_NE(a.open("ace/odbcLinkerTestV2007.accdb", "Lokal"), nullptr);
  std::map<int32_t, std::string> found;
  for (int32_t complexId = 1; complexId < 16; ++complexId) {
    const records::ComplexColumnData* data = records::FindComplexColumn(a.recovery(), complexId);
    if (data == nullptr || data->kind != records::ComplexKind::kAttachment) continue;
    for (const auto& [key, cell] : data->cells)
      for (const auto& file : cell.attachments) {
        found[key] += file.name + "|" + file.type + "|" + std::to_string(file.data.size());
        if (file.type == "png") EXPECT_EQ(testsupport::HexOf(file.data, 8), "89504e470d0a1a0a") << key;
      }
  }
  const std::string picture = "Resource.png|png|1375";
  EXPECT_EQ(found, (std::map<int32_t, std::string>{{2, picture},
                                                   {5, picture},
                                                   {8, picture},
                                                   {11, "Resource.png|png|461"},
                                                   {18, picture},
                                                   {137, "Theme1.||3075"}}));
}

}  // namespace
