// What an export into a new Access database writes is what the source holds: both files are
// read by mdb-reader, an independent reader, and must give the same values, cell for cell
// (doubles and singles as the same binary number, texts byte for byte, OLE objects with their
// header, an empty binary value as empty and not null).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "jet4/jet4_engine.h"
#include "support/value_builders.h"
#include "tests/support/access_export_run.h"
#include "tests/support/corpus.h"
#include "tests/support/peer_cells.h"
#include "tests/support/peer_readers.h"

namespace {

using nlohmann::json;
using support::BytesValue;
using support::IntegerValue;
using support::RealValue;
using support::TextValue;
using support::ValueKind;

// The rows of each table of a dump, sorted (moved rows come back where they sit), by table
// name; tables the reader failed on are left out.
std::map<std::string, std::vector<std::string>> rowsByTable(const json& dump) {
  std::map<std::string, std::vector<std::string>> tables;
  if (!dump.is_object()) return tables;
  for (const auto& table : dump["tables"]) {
    // Only user tables: the engine's own (MSys...) are not exported.
    if (!table.contains("rows") || table["name"].get<std::string>().rfind("MSys", 0) == 0) continue;
    std::vector<std::string> rows;
    for (const auto& row : table["rows"]) rows.push_back(row.dump());
    std::sort(rows.begin(), rows.end());
    tables[table["name"].get<std::string>()] = std::move(rows);
  }
  return tables;
}

// Empty when both row lists are the same; else the counts and the first row of each side that
// the other lacks, cut short.
std::string rowDifference(const std::vector<std::string>& ours, const std::vector<std::string>& theirs) {
  if (ours == theirs) return "";
  std::vector<std::string> onlyOurs, onlyTheirs;
  std::set_difference(ours.begin(), ours.end(), theirs.begin(), theirs.end(), std::back_inserter(onlyOurs));
  std::set_difference(theirs.begin(), theirs.end(), ours.begin(), ours.end(), std::back_inserter(onlyTheirs));
  std::string text = std::to_string(onlyOurs.size()) + " rows only in the new database, " +
                     std::to_string(onlyTheirs.size()) + " only in the source";
  if (!onlyOurs.empty()) text += "\n  new:    " + onlyOurs[0].substr(0, 400);
  if (!onlyTheirs.empty()) text += "\n  source: " + onlyTheirs[0].substr(0, 400);
  return text;
}

// The column names of each table of a dump, as table discovery cleans them.
std::map<std::string, std::vector<std::string>> columnsByTable(const json& dump) {
  std::map<std::string, std::vector<std::string>> tables;
  for (const auto& table : dump["tables"]) {
    if (!table.contains("columns")) continue;
    for (const auto& column : table["columns"])
      tables[table["name"]].push_back(testsupport::CleanedName(column["name"].get<std::string>()));
  }
  return tables;
}

// An OLE object as the file stores it: the OLE header (signature 0x1C15, its length, the
// object type, name and class name lengths and offsets), the names, then the native data.
std::vector<uint8_t> wrappedObject() {
  std::vector<uint8_t> object = {0x15, 0x1c, 0x2f, 0x00, 0x02, 0x00, 0x00, 0x00, 0x07, 0x00, 0x0d, 0x00,
                                 0xff, 0xff, 0xff, 0xff, 0x20, 0x00, 0x27, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (char c : std::string("Paint\0Bitmap Image\0", 19)) object.push_back(static_cast<uint8_t>(c));
  object.resize(0x2f, 0);
  for (int i = 0; i < 40; ++i) object.push_back(static_cast<uint8_t>(i * 7));
  return object;
}

// A source file written by our Jet 4 writer with the values a text-based export loses.
void writeSource(const std::string& path) {
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Execute(
      "CREATE TABLE [Edge] \r\n(\r\n\t[N] LONG, \r\n\t[D] DOUBLE, \r\n\t[S] SINGLE, \r\n\t[T] TEXT(100), \r\n\t[M] "
      "MEMO, \r\n\t[B] BINARY(16), \r\n\t[O] OLEOBJECT, \r\n\t[C] CURRENCY, \r\n\t[W] DATE\r\n);");
  auto rs = db->NewRecordset();
  rs->Open("select * from [Edge] where 1=-1");
  rs->AddNew();
  rs->SetFieldValue("N", IntegerValue(ValueKind::kInt32, 1));
  rs->SetFieldValue("D", RealValue(ValueKind::kDouble, -1234.56789012345));
  rs->SetFieldValue("S", RealValue(ValueKind::kSingle, static_cast<double>(-1.2e-5f)));
  rs->SetFieldValue("T", TextValue("NULL"));
  rs->SetFieldValue("M", TextValue("quote \" apostrophe ' backslash \\ line\r\nbreak"));
  rs->SetFieldValue("B", BytesValue(ValueKind::kBinary, {}));
  rs->SetFieldValue("O", BytesValue(ValueKind::kLongBinary, wrappedObject()));
  rs->SetFieldValue("C", IntegerValue(ValueKind::kCurrency, -123456789));
  rs->SetFieldValue("W", RealValue(ValueKind::kDate, -700000.25));
  rs->Update();
  rs->AddNew();
  rs->SetFieldValue("N", IntegerValue(ValueKind::kInt32, 2));
  rs->SetFieldValue("D", RealValue(ValueKind::kDouble, -1.23456789e-300));
  rs->SetFieldValue("S", RealValue(ValueKind::kSingle, static_cast<double>(-3.4028235e38f)));
  rs->SetFieldValue("T", TextValue("before@##@#$~##%after, \"quoted\""));
  rs->SetFieldValue("B", BytesValue(ValueKind::kBinary, {0, 0xff, 0x27, 0x22}));
  rs->SetFieldValue("O", BytesValue(ValueKind::kLongBinary, {0x42, 0x4d, 0x00}));
  rs->Update();
  rs->AddNew();
  rs->SetFieldValue("N", IntegerValue(ValueKind::kInt32, 3));
  rs->Update();
  rs->Close();
  db->Close();
}

TEST(AccessExportValuesTest, ValuesATextExportLosesComeBackUnchanged) {
  SKIP_WITHOUT_MDB_READER();
  testsupport::TempFolder folder;
  const std::string source = folder.file("edge.mdb");
  writeSource(source);
  const auto run = testsupport::ExportToAccess(source, folder.path());
  ASSERT_TRUE(run.analysed);
  ASSERT_TRUE(run.outcome.succeeded()) << run.outcome.finalLine;

  const json theirs = testsupport::MdbReaderDump(source);
  const json ours = testsupport::MdbReaderDump(run.outcome.target);
  ASSERT_TRUE(theirs.is_object());
  ASSERT_TRUE(ours.is_object());
  const auto targetRows = rowsByTable(ours), sourceRows = rowsByTable(theirs);
  ASSERT_EQ(targetRows.size(), 1u);
  ASSERT_EQ(sourceRows.size(), 1u);
  EXPECT_EQ(rowDifference(targetRows.begin()->second, sourceRows.begin()->second), "");

  // The values themselves, as mdb-reader reads the new database.
  const json& rows = ours["tables"][0]["rows"];
  ASSERT_EQ(rows.size(), 3u);
  const json first = rows[0][0] == "1" ? rows[0] : rows[1][0] == "1" ? rows[1] : rows[2];
  EXPECT_EQ(first[1], "-1234.56789012345");
  EXPECT_EQ(std::stof(first[2].get<std::string>()), -1.2e-5f);
  EXPECT_EQ(first[3], "NULL");
  EXPECT_EQ(first[4], "quote \" apostrophe ' backslash \\ line\r\nbreak");
  EXPECT_EQ(first[5], "");                                      // empty, not null
  EXPECT_EQ(first[6].get<std::string>().substr(0, 4), "151c");  // the OLE header is kept
  EXPECT_EQ(first[7], "-12345.6789");
}

TEST(AccessExportValuesTest, EveryCorpusTableComesBackAsTheSourceHoldsIt) {
  SKIP_WITHOUT_CORPUS();
  SKIP_WITHOUT_MDB_READER();
  size_t tablesCompared = 0, rowsCompared = 0;
  for (const auto& path : testsupport::CorpusDatabases()) {
    const std::string file = std::filesystem::path(path).filename().string();
    testsupport::TempFolder folder;
    const auto run = testsupport::ExportToAccess(path, folder.path());
    ASSERT_TRUE(run.analysed) << file;
    EXPECT_EQ(run.outcome.succeeded(), run.uncreatable.empty()) << file << ": " << run.outcome.finalLine;

    const json theirs = testsupport::MdbReaderDump(path);
    const json ours = testsupport::MdbReaderDump(run.outcome.target);
    ASSERT_TRUE(theirs.is_object()) << file;
    ASSERT_TRUE(ours.is_object()) << file;
    const auto sourceRows = rowsByTable(theirs), targetRows = rowsByTable(ours);
    const auto sourceColumns = columnsByTable(theirs), targetColumns = columnsByTable(ours);
    for (const auto& [name, rows] : sourceRows) {
      if (std::find(run.uncreatable.begin(), run.uncreatable.end(), name) != run.uncreatable.end()) continue;
      const auto found = targetRows.find(name);
      if (found == targetRows.end()) {
        ADD_FAILURE() << file << ": " << name << " is not in the new database";
        continue;
      }
      EXPECT_EQ(targetColumns.at(name), sourceColumns.at(name)) << file << " " << name;
      EXPECT_EQ(rowDifference(found->second, rows), "") << file << " " << name;
      ++tablesCompared;
      rowsCompared += rows.size();
    }
  }
  std::printf("[ access export ] %zu tables, %zu rows read alike by mdb-reader from source and new database\n",
              tablesCompared, rowsCompared);
  EXPECT_GT(tablesCompared, 0u);
}

}  // namespace
