// Our own analyzer reads back what our Jet 4 writer wrote: every table of every Jet 4 / ACE
// file of the corpus is analysed, created in a new database from its CREATE TABLE statement,
// and the new database, analysed in turn, shows the same tables with the same columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "export/analysis_steps.h"
#include "jet4/jet4_engine.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"

namespace {

using testsupport::TempFolder;

struct ColumnShape {
  std::string name;
  int type = 0;
  int length = 0;
  bool operator==(const ColumnShape&) const = default;
};

struct TableShape {
  std::string name;
  std::string createStatement;
  std::vector<ColumnShape> columns;
};

// The tables the analysis found, in its order.
std::vector<TableShape> analyse(const std::string& path) {
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  exporter::InstallAnalysisSteps(recovery);
  const auto outcome = testsupport::RunAnalysis(recovery, path);
  EXPECT_TRUE(outcome.ok) << path;
  std::vector<TableShape> tables;
  for (const analysis::Table& table : analysis::g_tables) {
    TableShape shape{table.name, table.createStatement, {}};
    for (const analysis::Column& column : table.columns)
      shape.columns.push_back(ColumnShape{column.name, column.type, column.length});
    tables.push_back(std::move(shape));
  }
  return tables;
}

constexpr int kTypeText = 10;
constexpr int kMaxTextLength = 255;

// The columns as the new database holds them. The statements give a TEXT column its length
// in bytes as TEXT(n), and the engine reads n as characters: the new column is twice as long
// (two bytes a character), up to the 255 the analysis shows at most.
std::vector<ColumnShape> asWritten(std::vector<ColumnShape> columns) {
  for (ColumnShape& column : columns)
    if (column.type == kTypeText) column.length = std::min(kMaxTextLength, 2 * column.length);
  return columns;
}

int detectFormat(const std::string& path) {
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  if (!recovery.OpenDatabaseFile(path)) return -2;
  return recovery.DetectFormat();
}

// A statement the engine refuses as well: a type it has no name for, or an attachment
// column, which the 4096-byte format of the new database does not have.
bool engineRefuses(const std::string& statement) {
  return statement.find("UNKNOWN-DATATYPE") != std::string::npos || statement.find("] ATTACHMENT") != std::string::npos;
}

TEST(Jet4AnalysisRoundTripTest, EveryCorpusTableComesBackWithItsColumns) {
  SKIP_WITHOUT_CORPUS();
  size_t files = 0, tablesWritten = 0;
  for (const std::string& source : testsupport::CorpusDatabases()) {
    SCOPED_TRACE(source);
    const std::vector<TableShape> original = analyse(source);
    TempFolder folder;
    const std::string target = folder.file("Recovered.accdb");
    std::vector<const TableShape*> written;
    {
      auto db = jet4::MakeJet4Database();
      db->Create(target, queries::kEngineLocale, 0);
      std::map<std::string, int> seen;
      for (const TableShape& table : original) {
        try {
          db->Execute(table.createStatement);
          written.push_back(&table);
        } catch (const queries::EngineError& error) {
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
    const std::vector<TableShape> readBack = analyse(target);
    // By name; the copies of the source's catalog tables (ASysObjects, ...) share their names
    // with the new database's own and come after them.
    for (const TableShape& table : readBack) found[table.name] = &table;
    for (const TableShape* table : written) {
      const auto match = found.find(table->name);
      ASSERT_NE(match, found.end()) << table->name;
      EXPECT_EQ(match->second->columns, asWritten(table->columns)) << table->name;
    }
    ++files;
    tablesWritten += written.size();
  }
  EXPECT_GT(files, 30u);
  EXPECT_GT(tablesWritten, 100u);
}

}  // namespace
