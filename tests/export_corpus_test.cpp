// Exports of every user table of every Jet 4 / ACE file of the corpus. As CSV, read back by an
// RFC 4180 reader against the peer reader's rows in expected/: one record per row the peer
// returns, and every value equal to the peer's (texts byte for byte, doubles as the same binary
// value, null as an empty unquoted field, binary and OLE values as their stored bytes). Into a
// new Access database, read back by our analyzer: the same records, the same text widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "export/csv_rules.h"
#include "platform/file_system.h"
#include "records/type_names.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"
#include "tests/support/csv_reader.h"
#include "tests/support/peer_cells.h"
#include "tests/support/peer_rows.h"

namespace {

using nlohmann::json;

// Our CSV field against the peer's cell of a column of this peer type: texts byte for byte,
// doubles and singles as the same binary value, binary and OLE values as their stored bytes.
bool sameCell(const testsupport::CsvCell& ours, const json& theirs, const std::string& type) {
  if (type == "complex") return true;  // a key into a hidden table: outside what a table's CSV holds
  if (type == "boolean") return ours.text == (theirs == "1" ? "Yes" : "No");
  if (theirs.is_null()) return ours.text.empty() && !ours.quoted;
  if (!theirs.is_string()) return false;
  const std::string peer = theirs.get<std::string>();
  if (type == "datetime") return testsupport::IsoDate(ours.text.substr(0, 19)) == peer;
  if (type == "float") return std::strtof(ours.text.c_str(), nullptr) == std::strtof(peer.c_str(), nullptr);
  if (type == "double") {
    const double a = std::strtod(ours.text.c_str(), nullptr), b = std::strtod(peer.c_str(), nullptr);
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
  if (type == "numeric") return testsupport::PlainDecimal(ours.text) == testsupport::PlainDecimal(peer);
  if (type == "binary" || type == "ole")
    return testsupport::PeerBinaryForm(testsupport::BytesOfHex(ours.text)) == peer && (!peer.empty() || ours.quoted);
  return ours.text == peer;
}

void compareTable(const std::string& file, const json& expected, const std::string& csvPath,
                  testsupport::PeerTally& tally) {
  const std::string table = expected["name"];
  const testsupport::CsvParse parse = testsupport::ReadCsvFile(csvPath);
  if (!parse.ok) tally.failures.push_back(file + " " + table + ": " + csvPath + " is no well-formed CSV");
  const std::string python = testsupport::PythonCsvDifference(csvPath, parse);
  if (!python.empty() && python != "no python3")
    tally.failures.push_back(file + " " + table + ": Python's csv module reads it otherwise: " + python);
  const auto& lines = parse.records;
  const auto& columns = expected["columns"];
  if (lines.empty()) {
    if (!columns.empty()) tally.failures.push_back(file + " " + table + ": no header line in " + csvPath);
    return;
  }
  std::vector<std::string> header;
  for (const auto& cell : lines[0]) header.push_back(cell.text);
  std::vector<int> position;
  for (const auto& column : columns) {
    auto at = std::find(header.begin(), header.end(), testsupport::CleanedName(column["name"].get<std::string>()));
    position.push_back(at == header.end() ? -1 : static_cast<int>(at - header.begin()));
    if (at == header.end()) tally.failures.push_back(file + " " + table + ": no column " + column["name"].dump());
  }
  const size_t ourRows = lines.size() - 1;
  if (ourRows != expected["rowsReturned"].get<size_t>())
    tally.failures.push_back(file + " " + table + ": " + std::to_string(ourRows) + " records, the peer has " +
                             expected["rowsReturned"].dump());

  auto agrees = [&](const json& theirs, const testsupport::CsvRecord& mine) {
    if (mine.size() != header.size()) return false;
    for (size_t c = 0; c < columns.size(); ++c)
      if (position[c] < 0 || !sameCell(mine[position[c]], theirs[c], columns[c]["type"])) return false;
    return true;
  };
  testsupport::MatchPeerRows(
      expected["rows"], columns.size(), 1, lines.size(),
      [&](const json& theirs, size_t line) { return agrees(theirs, lines[line]); },
      [&](size_t peerIndex, size_t index) {
        // Tell which values of the line at the same place differ.
        const json& theirs = expected["rows"][peerIndex];
        std::string differences;
        for (size_t c = 0; c < columns.size() && index < lines.size(); ++c) {
          const testsupport::CsvCell mine = position[c] >= 0 && position[c] < static_cast<int>(lines[index].size())
                                                ? lines[index][position[c]]
                                                : testsupport::CsvCell{"<missing>"};
          if (!sameCell(mine, theirs[c], columns[c]["type"]))
            differences += " " + columns[c]["name"].get<std::string>() + ": ours " + (mine.quoted ? "quoted " : "") +
                           "\"" + mine.text.substr(0, 80) + "\", peer " + theirs[c].dump() + ";";
        }
        return file + " " + table + ": no line for the peer's row " + std::to_string(peerIndex + 1) + differences;
      },
      tally);
}

TEST(CsvExportCorpusTest, EveryUserTableAgreesWithThePeer) {
  SKIP_WITHOUT_CORPUS();
  testsupport::PeerTally total;
  for (const auto& [path, file, expected] : testsupport::PeerReadDatabases()) {
    testsupport::AnalysedFile analysed;
    ASSERT_TRUE(analysed.analyse(path).ok) << file;

    testsupport::TempFolder destination;
    const auto csv = analysed.exportUserTables(exporter::kFormatCsv, destination.path());
    EXPECT_TRUE(csv.outcome.succeeded()) << file;

    testsupport::PeerTally tally;
    for (const auto& table : expected["tables"]) {
      if (!table.contains("columns")) continue;  // the peer refused the table
      const auto found = csv.csvFiles.find(table["name"].get<std::string>());
      if (found == csv.csvFiles.end()) {
        tally.failures.push_back(file + ": no CSV file for " + table["name"].dump());
        continue;
      }
      compareTable(file, table, found->second, tally);
    }
    tally.report("csv export", file, total);
  }
  total.reportTotal("csv export");
  EXPECT_GT(total.rows, 0u);
}

// A table's CSV records, each as one comparable text (quoting kept: null and empty differ),
// sorted after the header (moved rows come back elsewhere).
std::vector<std::string> comparableLines(const std::string& csvFile) {
  const testsupport::CsvParse parse = testsupport::ReadCsvFile(csvFile);
  EXPECT_TRUE(parse.ok) << csvFile;
  std::vector<std::string> lines;
  for (const auto& record : parse.records) {
    std::string line;
    for (const auto& cell : record) line += (cell.quoted ? "\"" : "") + cell.text + "\x1F";
    lines.push_back(line);
  }
  if (!lines.empty()) std::sort(lines.begin() + 1, lines.end());
  return lines;
}

// Tables whose columns have a type code of no name: creating them fails, as it must. (Complex
// columns are created, as their joined values.)
bool cannotBeCreated(const analysis::Table& table) {
  return std::any_of(table.columns.begin(), table.columns.end(), [](const analysis::Column& column) {
    return records::GetTypeName(column).rfind("UNKNOWN-DATATYPE", 0) == 0;
  });
}

// An attachment column changes form in a new database: the owner keeps the file names, the
// files move to a child table. Such tables are compared by their record count.
bool hasAttachmentColumn(const analysis::Table& table) {
  return std::any_of(table.columns.begin(), table.columns.end(),
                     [](const analysis::Column& column) { return column.type == records::kTypeAttachment; });
}

TEST(AccessExportCorpusTest, EveryUserTableComesBackFromTheNewDatabase) {
  SKIP_WITHOUT_CORPUS();
  size_t tablesCompared = 0, recordsCompared = 0;
  for (const auto& path : testsupport::CorpusDatabases()) {
    const std::string file = std::filesystem::path(path).filename().string();
    testsupport::TempFolder destination;
    std::map<std::string, std::vector<std::string>> sourceLines;
    std::map<std::string, std::vector<int32_t>> sourceTextLengths;
    std::map<std::string, int32_t> exported;
    std::set<std::string> uncreatable, changedForm;
    std::string target;
    {
      testsupport::AnalysedFile source;
      ASSERT_TRUE(source.analyse(path).ok) << file;
      const auto csv = source.exportUserTables(exporter::kFormatCsv, destination.path());
      for (const auto& [name, csvFile] : csv.csvFiles) sourceLines[name] = comparableLines(csvFile);
      for (const auto& table : analysis::g_tables) {
        if (cannotBeCreated(table)) uncreatable.insert(table.name);
        if (hasAttachmentColumn(table)) changedForm.insert(table.name);
        for (const auto& column : table.columns)
          if (column.type == records::kTypeText) sourceTextLengths[table.name].push_back(column.length);
      }
      const auto access = source.exportUserTables(exporter::kFormatAccess, destination.path());
      target = access.outcome.target;
      ASSERT_TRUE(platform::FileExists(target)) << file;
      EXPECT_EQ(access.outcome.succeeded(), uncreatable.empty()) << file << ": " << access.outcome.finalLine;
      for (const auto& row : access.outcome.statistics) exported[row.tableName] = row.exportedRecords;
    }

    testsupport::AnalysedFile written;
    ASSERT_TRUE(written.analyse(target).ok) << file;
    std::map<std::string, std::vector<int32_t>> targetTextLengths;
    for (const auto& table : analysis::g_tables)
      for (const auto& column : table.columns)
        if (column.type == records::kTypeText) targetTextLengths[table.name].push_back(column.length);
    testsupport::TempFolder again;
    const auto csv = written.exportUserTables(exporter::kFormatCsv, again.path());
    for (const auto& [name, lines] : sourceLines) {
      const auto found = csv.csvFiles.find(name);
      if (uncreatable.count(name)) {
        EXPECT_EQ(found, csv.csvFiles.end()) << file << " " << name;
        continue;
      }
      if (found == csv.csvFiles.end()) {
        ADD_FAILURE() << file << ": " << name << " is not in the new database";
        continue;
      }
      if (changedForm.count(name))
        EXPECT_EQ(comparableLines(found->second).size(), lines.size()) << file << " " << name;
      else
        EXPECT_EQ(comparableLines(found->second), lines) << file << " " << name;
      EXPECT_EQ(exported[name], static_cast<int32_t>(lines.size()) - 1) << file << " " << name;
      EXPECT_EQ(targetTextLengths[name], sourceTextLengths[name]) << file << " " << name;
      ++tablesCompared;
      recordsCompared += lines.size() - 1;
    }
  }
  std::printf("[ access export ] %zu tables, %zu records the same after the round trip\n", tablesCompared,
              recordsCompared);
  EXPECT_GT(tablesCompared, 0u);
}

}  // namespace
