// A CSV export of every user table of every Jet 4 / ACE file of the corpus, read back line by
// line against the peer reader's rows in expected/: one line per row the peer returns, and
// every value in the form the CSV rules give the peer's value (booleans as Yes/No, texts
// cleaned, NULL as nothing, binary data as a blank, OLE objects as a file in "Objects").
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "analysis/mdb_recovery.h"
#include "export/analysis_steps.h"
#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "export/export_runner.h"
#include "platform/file_system.h"
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
    exporter::ExportSettings settings;
    settings.m_nExportFormat = exporter::kFormatCsv;
    settings.m_nExportMode = exporter::kModeSchemaAndData;
    settings.m_strExportFolder = exporter::PrepareCsvExportFolder(destination.path());
    std::map<std::string, std::string> csvFiles;  // table name -> its CSV file
    support::UniqueFileNames names;
    for (auto& table : analysis::g_tables) {
      if (table.name.empty() || table.name.rfind("ASys", 0) == 0) continue;
      settings.m_exportTables.push_back(&table);
      csvFiles.emplace(table.name, settings.m_strExportFolder + "/Tables/" + names.take(table.name) + ".csv");
    }
    QuietView view;
    EXPECT_TRUE(exporter::RunExport(recovery, settings, view).succeeded()) << file;

    Tally tally;
    for (const auto& table : expected["tables"]) {
      if (!table.contains("columns")) continue;  // the peer refused the table
      const auto csv = csvFiles.find(table["name"].get<std::string>());
      if (csv == csvFiles.end()) {
        tally.failures.push_back(file + ": no CSV file for " + table["name"].dump());
        continue;
      }
      compareTable(file, table, csv->second, settings.m_strExportFolder, tally);
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

}  // namespace
