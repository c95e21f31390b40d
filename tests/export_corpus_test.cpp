// Exports of every user table of every Jet 4 / ACE file of the corpus. As CSV, read back line by
// line against the peer reader's rows in expected/: one line per row the peer returns, and
// every value in the form the CSV rules give the peer's value (booleans as Yes/No, texts
// cleaned, NULL as nothing, binary data as a blank, OLE objects as a file in "Objects"). Into a
// new Access database, read back by our analyzer: the same records, the same text widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "analysis/mdb_recovery.h"
#include "export/analysis_steps.h"
#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "export/export_runner.h"
#include "platform/file_system.h"
#include "records/type_names.h"
#include "support/file_name.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"
#include "tests/support/peer_cells.h"

namespace {

using nlohmann::json;

class QuietView : public exporter::ExportView {
 public:
  void statusInserted(const std::string&) override {}
  void percentChanged(int) override {}
  void finished(const std::string&, const std::vector<exporter::ExportStatistic>&) override {}
};

// One CSV line of ours: fields separated by ", ", a field with a comma between double quotes.
std::vector<std::string> parseLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else if (c == ',' && i + 1 < line.size() && line[i + 1] == ' ') {
      fields.emplace_back();
      ++i;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::vector<std::string>> readCsv(const std::string& path) {
  const auto bytes = testsupport::ReadWholeFile(path);
  const std::string text(bytes.begin(), bytes.end());
  std::vector<std::vector<std::string>> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(parseLine(text.substr(start, end - start)));
  return lines;
}

// Our CSV field against the peer's cell of a column of this peer type.
bool sameCell(const std::string& ours, const json& theirs, const std::string& type, const std::string& folder) {
  if (type == "complex") return true;  // a key into a hidden table: outside what a table's CSV holds
  if (type == "boolean") return ours == (theirs == "1" ? "Yes" : "No");
  if (theirs.is_null()) return ours.empty();
  if (!theirs.is_string()) return false;
  std::string peer = theirs.get<std::string>();
  if (type == "datetime") return testsupport::IsoDate(ours) == peer;
  if (type == "float" || type == "double") return testsupport::SameFloat(ours, peer, type == "float");
  if (type == "numeric") return testsupport::PlainDecimal(ours) == testsupport::PlainDecimal(peer);
  if (type == "binary") return ours == " ";
  if (type == "ole") {
    const std::string prefix = "?{file 'Objects/";
    if (ours.rfind(prefix, 0) != 0 || ours.size() < prefix.size() + 2) return false;
    return testsupport::SameOleFile(platform::JoinPath(folder, ours.substr(8, ours.size() - 8 - 2)), peer);
  }
  exporter::CleanFieldText(peer);
  return ours == peer;
}

struct Tally {
  size_t rows = 0, cells = 0;
  std::vector<std::string> failures;
};

void compareTable(const std::string& file, const json& expected, const std::string& csvPath, const std::string& folder,
                  Tally& tally) {
  const std::string table = expected["name"];
  const auto lines = readCsv(csvPath);
  const auto& columns = expected["columns"];
  if (lines.empty()) {
    if (!columns.empty()) tally.failures.push_back(file + " " + table + ": no header line in " + csvPath);
    return;
  }
  const std::vector<std::string>& header = lines[0];
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

  auto agrees = [&](const json& theirs, const std::vector<std::string>& mine) {
    if (mine.size() != header.size()) return false;
    for (size_t c = 0; c < columns.size(); ++c)
      if (position[c] < 0 || !sameCell(mine[position[c]], theirs[c], columns[c]["type"], folder)) return false;
    return true;
  };
  // Moved rows come back where they sit, not in slot order: pair each peer row with the first
  // unused line that agrees, trying the line at the same place first.
  std::vector<bool> used(lines.size(), false);
  size_t index = 0;
  for (const auto& theirs : expected["rows"]) {
    ++index;
    bool matched = index < lines.size() && !used[index] && agrees(theirs, lines[index]);
    if (matched) used[index] = true;
    for (size_t r = 1; r < lines.size() && !matched; ++r)
      if (!used[r] && agrees(theirs, lines[r])) used[r] = matched = true;
    ++tally.rows;
    tally.cells += columns.size();
    if (matched || tally.failures.size() >= 50) continue;
    // Tell which values of the line at the same place differ.
    std::string differences;
    for (size_t c = 0; c < columns.size() && index < lines.size(); ++c) {
      const std::string mine = position[c] >= 0 && position[c] < static_cast<int>(lines[index].size())
                                   ? lines[index][position[c]]
                                   : "<missing>";
      if (!sameCell(mine, theirs[c], columns[c]["type"], folder))
        differences +=
            " " + columns[c]["name"].get<std::string>() + ": ours \"" + mine + "\", peer " + theirs[c].dump() + ";";
    }
    tally.failures.push_back(file + " " + table + ": no line for the peer's row " + std::to_string(index) +
                             differences);
  }
}

struct UserTablesExport {
  exporter::ExportOutcome outcome;
  std::string folder;
  std::map<std::string, std::string> csvFiles;  // table name -> its CSV file
};

// Exports every user table of the analysed file into a new folder of destination.
UserTablesExport exportUserTables(analysis::MdbRecovery& recovery, int format, const std::string& destination) {
  exporter::ExportSettings settings;
  settings.m_nExportFormat = format;
  settings.m_nExportMode = exporter::kModeSchemaAndData;
  settings.m_strFileTitle = "corpus";
  settings.m_strExportFolder =
      format == exporter::kFormatCsv ? exporter::PrepareCsvExportFolder(destination) : destination;
  UserTablesExport result;
  result.folder = settings.m_strExportFolder;
  support::UniqueFileNames names;
  for (auto& table : analysis::g_tables) {
    if (table.name.empty() || table.name.rfind("ASys", 0) == 0) continue;
    settings.m_exportTables.push_back(&table);
    result.csvFiles.emplace(table.name, result.folder + "/Tables/" + names.take(table.name) + ".csv");
  }
  QuietView view;
  result.outcome = exporter::RunExport(recovery, settings, view);
  return result;
}

TEST(CsvExportCorpusTest, EveryUserTableAgreesWithThePeer) {
  SKIP_WITHOUT_CORPUS();
  Tally total;
  for (const auto& path : testsupport::CorpusDatabases()) {
    const json expected = testsupport::ExpectedJson(path);
    if (!expected.is_object()) continue;
    const std::string file = std::filesystem::path(path).filename().string();
    analysis::ProgressChannel channel;
    analysis::MdbRecovery recovery(channel);
    exporter::InstallAnalysisSteps(recovery);
    ASSERT_TRUE(testsupport::RunAnalysis(recovery, path).ok) << file;

    testsupport::TempFolder destination;
    const UserTablesExport csv = exportUserTables(recovery, exporter::kFormatCsv, destination.path());
    EXPECT_TRUE(csv.outcome.succeeded()) << file;

    Tally tally;
    for (const auto& table : expected["tables"]) {
      if (!table.contains("columns")) continue;  // the peer refused the table
      const auto found = csv.csvFiles.find(table["name"].get<std::string>());
      if (found == csv.csvFiles.end()) {
        tally.failures.push_back(file + ": no CSV file for " + table["name"].dump());
        continue;
      }
      compareTable(file, table, found->second, csv.folder, tally);
    }
    std::printf("[ csv export ] %-36s %5zu rows, %6zu cells, %zu disagreements\n", file.c_str(), tally.rows,
                tally.cells, tally.failures.size());
    for (const auto& failure : tally.failures) ADD_FAILURE() << failure;
    total.rows += tally.rows;
    total.cells += tally.cells;
  }
  std::printf("[ csv export ] %-36s %5zu rows, %6zu cells\n", "all files", total.rows, total.cells);
  EXPECT_GT(total.rows, 0u);
}

// A table's CSV data lines, sorted (moved rows come back elsewhere), with each OLE reference
// replaced by the referenced file's size: the files are numbered anew by every export.
std::vector<std::string> comparableLines(const std::string& csvFile, const std::string& folder) {
  const auto bytes = testsupport::ReadWholeFile(csvFile);
  const std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    for (size_t at; (at = line.find("?{file '")) != std::string::npos;) {
      const size_t close = line.find("'}", at + 8);
      if (close == std::string::npos) break;
      const std::string object = platform::JoinPath(folder, line.substr(at + 8, close - at - 8));
      line.replace(at, close + 2 - at, "<object of " + std::to_string(testsupport::ReadWholeFile(object).size()) + ">");
    }
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
      analysis::ProgressChannel channel;
      analysis::MdbRecovery recovery(channel);
      exporter::InstallAnalysisSteps(recovery);
      ASSERT_TRUE(testsupport::RunAnalysis(recovery, path).ok) << file;
      const UserTablesExport csv = exportUserTables(recovery, exporter::kFormatCsv, destination.path());
      for (const auto& [name, csvFile] : csv.csvFiles) sourceLines[name] = comparableLines(csvFile, csv.folder);
      for (const auto& table : analysis::g_tables) {
        if (cannotBeCreated(table)) uncreatable.insert(table.name);
        if (hasAttachmentColumn(table)) changedForm.insert(table.name);
        for (const auto& column : table.columns)
          if (column.type == records::kTypeText) sourceTextLengths[table.name].push_back(column.length);
      }
      const UserTablesExport access = exportUserTables(recovery, exporter::kFormatAccess, destination.path());
      target = access.outcome.target;
      ASSERT_TRUE(platform::FileExists(target)) << file;
      EXPECT_EQ(access.outcome.succeeded(), uncreatable.empty()) << file << ": " << access.outcome.finalLine;
      for (const auto& row : access.outcome.statistics) exported[row.tableName] = row.exportedRecords;
    }

    analysis::ProgressChannel channel;
    analysis::MdbRecovery recovery(channel);
    exporter::InstallAnalysisSteps(recovery);
    ASSERT_TRUE(testsupport::RunAnalysis(recovery, target).ok) << file;
    std::map<std::string, std::vector<int32_t>> targetTextLengths;
    for (const auto& table : analysis::g_tables)
      for (const auto& column : table.columns)
        if (column.type == records::kTypeText) targetTextLengths[table.name].push_back(column.length);
    testsupport::TempFolder again;
    const UserTablesExport csv = exportUserTables(recovery, exporter::kFormatCsv, again.path());
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
        EXPECT_EQ(comparableLines(found->second, csv.folder).size(), lines.size()) << file << " " << name;
      else
        EXPECT_EQ(comparableLines(found->second, csv.folder), lines) << file << " " << name;
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
