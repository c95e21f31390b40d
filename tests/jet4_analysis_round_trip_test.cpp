// Our own analyzer reads back what our Jet 4 writer wrote: every table of every Jet 4 / ACE
// file of the corpus is analysed, created in a new database from its CREATE TABLE statement
// and filled with its decoded records, value by value as display texts; the new database,
// analysed in turn, shows the same tables with the same columns and the same values.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "jet4/jet4_engine.h"
#include "records/ole_files.h"
#include "records/record_fetch.h"
#include "records/record_text.h"
#include "support/value_builders.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"

namespace {

using testsupport::TempFolder;

struct ColumnShape {
  std::string name;
  int type = 0;
  int length = 0;
  bool operator==(const ColumnShape&) const = default;
};

constexpr const char* kNull = "NULL";
constexpr int kTypeLong = 4;
constexpr int kTypeText = 10;
constexpr int kTypeOle = 11;
constexpr int kTypeMemo = 12;

bool isText(int type) {
  return type == kTypeText || type == kTypeMemo;
}

// What reading back should give for a value written: an empty text in a column that is no
// text is refused and stays NULL; a NULL autonumber (COUNTER) gets the next number, as the
// engine hands it out.
bool sameAsWritten(const ColumnShape& column, bool autoNumber, const std::string& wrote, const std::string& read) {
  if (wrote.empty() && !isText(column.type)) return read == kNull;
  if (autoNumber && wrote == kNull) return read != kNull;
  return wrote == read;
}

struct TableShape {
  std::string name;
  std::string createStatement;
  std::vector<ColumnShape> columns;
  // The records as the record list shows them; an OLE value is the content of its file.
  std::vector<std::vector<std::string>> records;
};

// Every record of the table, screen after screen, as the record list fetches them.
std::vector<std::vector<std::string>> allRecords(analysis::MdbRecovery& recovery, analysis::Table& table) {
  std::vector<std::vector<std::string>> all;
  table.currentPageIndex = table.nextRecordIndex = table.nextRowInPage = 0;
  std::vector<std::string> texts;
  for (int screen = 0; screen < 1000000; ++screen) {
    texts.assign(records::kRecordsPerScreen, std::string());
    records::FetchRecords(recovery, table, texts.data());
    auto rows = records::ScreenRecords(texts.data(), texts.size(), table.columns.size());
    all.insert(all.end(), rows.begin(), rows.end());
    if (rows.size() < static_cast<size_t>(records::kRecordsPerScreen)) break;
  }
  return all;
}

// The tables the analysis found, in its order, with their records; OLE objects are written
// into oleFolder on the way.
std::vector<TableShape> analyse(const std::string& path, const std::string& oleFolder) {
  testsupport::AnalysedFile analysed;
  analysis::MdbRecovery& recovery = analysed.recovery();
  records::SetOleFilesFolder(oleFolder);
  const auto outcome = analysed.analyse(path);
  EXPECT_TRUE(outcome.ok) << path;
  std::vector<TableShape> tables;
  for (analysis::Table& table : analysis::g_tables) {
    TableShape shape{table.name, table.createStatement, {}, {}};
    for (const analysis::Column& column : table.columns)
      shape.columns.push_back(ColumnShape{column.name, column.type, column.length});
    shape.records = allRecords(recovery, table);
    for (auto& record : shape.records)
      for (size_t c = 0; c < record.size() && c < table.columns.size(); ++c)
        if (table.columns[c].type == kTypeOle && record[c] != kNull) {
          const auto bytes = testsupport::ReadWholeFile(record[c]);
          record[c].assign(bytes.begin(), bytes.end());
        }
    tables.push_back(std::move(shape));
  }
  records::SetOleFilesFolder("");
  return tables;
}

// Appends the records through the engine as the export does: one SetFieldValue per value,
// nothing for a NULL. Returns the values the engine refused.
size_t appendRecords(engine::EngineDatabase& db, const TableShape& table) {
  size_t refused = 0;
  auto rs = db.NewRecordset();
  rs->Open("select * from [" + table.name + "] where 1=-1");
  for (const auto& record : table.records) {
    rs->AddNew();
    for (size_t c = 0; c < record.size() && c < table.columns.size(); ++c) {
      if (record[c] == kNull) continue;
      try {
        rs->SetFieldValue(table.columns[c].name, support::TextValue(record[c]));
      } catch (const engine::EngineError& error) {
        // The engine refuses an empty text for a column that is no text, as Jet does; the
        // field stays NULL. Nothing else may be refused.
        if (!record[c].empty() || isText(table.columns[c].type))
          ADD_FAILURE() << table.name << "." << table.columns[c].name << ": " << error.what();
        ++refused;
      }
    }
    rs->Update();
  }
  rs->Close();
  return refused;
}

constexpr int kMaxTextLength = 255;

// The columns as the new database holds them. The statements give a TEXT column its length
// in bytes as TEXT(n), at most 255, and the engine reads n as characters: the new column is
// twice as long (two bytes a character).
std::vector<ColumnShape> asWritten(std::vector<ColumnShape> columns) {
  for (ColumnShape& column : columns)
    if (column.type == kTypeText) column.length = 2 * std::min(kMaxTextLength, column.length);
  return columns;
}

int detectFormat(const std::string& path) {
  testsupport::AnalysedFile file(testsupport::AnalysisSteps::kAnalysisLayerOnly);
  analysis::MdbRecovery& recovery = file.recovery();
  if (!recovery.OpenDatabaseFile(path)) return -2;
  return recovery.DetectFormat();
}

// A statement the engine refuses as well: a type it has no name for, or an attachment
// column, which the 4096-byte format of the new database does not have.
bool engineRefuses(const std::string& statement) {
  return statement.find("UNKNOWN-DATATYPE") != std::string::npos || statement.find("] ATTACHMENT") != std::string::npos;
}

TEST(Jet4AnalysisRoundTripTest, EveryCorpusTableComesBackWithItsColumnsAndValues) {
  SKIP_WITHOUT_CORPUS();
  size_t files = 0, tablesWritten = 0, values = 0;
  for (const std::string& source : testsupport::CorpusDatabases()) {
    SCOPED_TRACE(source);
    TempFolder folder;
    const std::vector<TableShape> original = analyse(source, folder.file("ole-source"));
    const std::string target = folder.file("Recovered.accdb");
    std::vector<const TableShape*> written;
    {
      auto db = jet4::MakeJet4Database();
      db->Create(target, engine::kEngineLocale, 0);
      std::map<std::string, int> seen;
      for (const TableShape& table : original) {
        try {
          db->Execute(table.createStatement);
          written.push_back(&table);
          appendRecords(*db, table);
        } catch (const engine::EngineError& error) {
          // Refused only for a type without a name or a second table of the same name.
          EXPECT_TRUE(engineRefuses(table.createStatement) || seen.count(table.name) > 0)
              << table.name << ": " << error.what();
        }
        ++seen[table.name];
      }
      db->Close();
    }
    ASSERT_EQ(detectFormat(target), analysis::kStorageFormat4);

    std::map<std::string, const TableShape*> found;
    const std::vector<TableShape> readBack = analyse(target, folder.file("ole-target"));
    // By name; the copies of the source's catalog tables (ASysObjects, ...) share their names
    // with the new database's own and come after them.
    for (const TableShape& table : readBack) found[table.name] = &table;
    for (const TableShape* table : written) {
      const auto match = found.find(table->name);
      ASSERT_NE(match, found.end()) << table->name;
      EXPECT_EQ(match->second->columns, asWritten(table->columns)) << table->name;
      const auto& got = match->second->records;
      ASSERT_EQ(got.size(), table->records.size()) << table->name;
      for (size_t r = 0; r < got.size(); ++r)
        for (size_t c = 0; c < table->columns.size(); ++c)
          if (!sameAsWritten(table->columns[c],
                             c == 0 && table->columns[c].type == kTypeLong &&
                                 table->createStatement.find("] COUNTER") != std::string::npos,
                             table->records[r].at(c), got[r].at(c)))
            ADD_FAILURE() << table->name << " row " << r << " " << table->columns[c].name << ": wrote \""
                          << table->records[r][c].substr(0, 60) << "\" (" << table->records[r][c].size()
                          << " bytes), read \"" << got[r][c].substr(0, 60) << "\" (" << got[r][c].size() << " bytes)";
      values += got.size() * table->columns.size();
    }
    ++files;
    tablesWritten += written.size();
  }
  EXPECT_GT(files, 30u);
  EXPECT_GT(tablesWritten, 100u);
  EXPECT_GT(values, 25000u);
  RecordProperty("values", static_cast<int>(values));
}

}  // namespace

namespace {

// Without the corpus: a table of every type written from display texts, read back by our
// analyzer, written again from what it read and read again. The texts of the decoder's own
// forms come back unchanged, and the second round reads exactly as the first.
TEST(Jet4AnalysisRoundTripTest, DecodedTextsWriteBackUnchanged) {
  const std::string statement =
      "CREATE TABLE [AllTypes] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Flag] BIT, \r\n\t[Small] BYTE, \r\n\t[Count] INT, "
      "\r\n\t[Total] LONG, \r\n\t[Price] CURRENCY, \r\n\t[Ratio] SINGLE, \r\n\t[Measure] DOUBLE, \r\n\t[Stamp] DATE, "
      "\r\n\t[Raw] BINARY, \r\n\t[Label] TEXT(255), \r\n\t[Notes] MEMO, \r\n\t[Picture] OLEOBJECT, \r\n\t[Key] GUID, "
      "\r\n\t[Amount] NUMERIC(18,2)\r\n);";
  const std::vector<std::string> names = {"ID",    "Flag", "Small", "Count", "Total",   "Price", "Ratio", "Measure",
                                          "Stamp", "Raw",  "Label", "Notes", "Picture", "Key",   "Amount"};
  const std::vector<std::vector<std::string>> rows = {
      {"1", "1", "255", "-32768", "-2147483648", "-0.0001", "0.500000", "-2.50000000000000", "12/30/1899 00:00:00",
       "00ff10ab", "Grüße, Мир 東京", std::string(70000, 'm'), std::string("\x01\x02\x03", 3),
       "{12345678-9ABC-DEF0-1234-56789ABCDEF0}", "0000000000000000.42"},
      {"2", "0", "0", "32767", "2147483647", "922337203685477.5807", "1234.50", "1234.56789000000",
       "10/15/1582 00:00:00", "7f", std::string(255, 'x'), "kurz", std::string(9000, '\x5A'),
       "{00000000-0000-0000-0000-000000000000}", "-0000000000000012.34"},
      {"3", "0", kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull},
  };
  TempFolder folder;
  const auto writeAndRead = [&](const std::vector<std::vector<std::string>>& records, const std::string& name) {
    const std::string path = folder.file(name + ".accdb");
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    db->Execute(statement);
    TableShape table{"AllTypes", statement, {}, records};
    for (const std::string& column : names) table.columns.push_back(ColumnShape{column, 0, 0});
    EXPECT_EQ(appendRecords(*db, table), 0u);
    db->Close();
    for (const TableShape& found : analyse(path, folder.file(name + "-ole")))
      if (found.name == "AllTypes") return found.records;
    ADD_FAILURE() << "AllTypes not found in " << name;
    return std::vector<std::vector<std::string>>();
  };
  // Compared cell by cell; long values are described, not printed.
  const auto expectSame = [&](const std::vector<std::vector<std::string>>& got,
                              const std::vector<std::vector<std::string>>& want, const char* round) {
    ASSERT_EQ(got.size(), want.size()) << round;
    for (size_t r = 0; r < want.size(); ++r)
      for (size_t c = 0; c < names.size(); ++c)
        if (got[r].at(c) != want[r].at(c))
          ADD_FAILURE() << round << " row " << r << " " << names[c] << ": wrote \"" << want[r][c].substr(0, 60)
                        << "\" (" << want[r][c].size() << " bytes), read \"" << got[r][c].substr(0, 60) << "\" ("
                        << got[r][c].size() << " bytes)";
  };
  const auto first = writeAndRead(rows, "first");
  expectSame(first, rows, "first");
  expectSame(writeAndRead(first, "second"), first, "second");
}

}  // namespace
