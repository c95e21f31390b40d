// RunExport. Percentages: the tables take the bar to 75, the queries of a CSV export from 75 to
// 100, each step truncated; the end sets 100.
#include "export/export_runner.h"

#include "export/access_target.h"
#include "export/export_statistics.h"
#include "export/recovered_export.h"
#include "export/sqlite_file.h"
#include "export/sqlite_linked_tables.h"
#include "export/sqlite_queries.h"
#include "export/table_export.h"
#include "export/table_export_sqlite.h"
#include "platform/message_sink.h"
#include "queries/query_script.h"
#include "support/execution_log.h"
#include "support/file_name.h"
#include "support/text.h"

namespace exporter {

namespace {

class Run {
 public:
  Run(analysis::MdbRecovery& recovery, const ExportSettings& settings, ExportView& view)
      : recovery_(recovery), channel_(recovery.Channel()), settings_(settings), view_(view) {}

  ExportOutcome execute() {
    channel_.abort = 0;
    channel_.done = 0;
    if (settings_.m_nExportFormat == kFormatAccess) {
      // Without a target no table can be copied: that is an error, never a success.
      const bool created =
          CreateTarget(recovery_, settings_.m_strExportFolder, settings_.m_strFileTitle, &target_) == 1;
      insertLogged(kExportStartedLine);
      if (created)
        exportTables(kFormatAccess);
      else
        failed_ = true;
      CloseTarget(recovery_);
    } else if (settings_.m_nExportFormat == kFormatCsv) {
      target_ = settings_.m_strExportFolder;
      insertLogged(kExportStartedLine);
      exportTables(kFormatCsv);
      exportQueries();
    } else if (settings_.m_nExportFormat == kFormatSqlite) {
      exportToSqlite();
    }
    setPercent(100);

    ExportOutcome outcome;
    outcome.finalLine = finalLine();
    outcome.target = target_;
    view_.statusInserted(outcome.finalLine);
    outcome.statistics = CollectStatistics(settings_.m_exportTables, reachedTables_, failedTables_);
    WriteStatisticsFile(settings_.m_strExportFolder, outcome.statistics);
    view_.finished(outcome.finalLine, outcome.statistics);
    return outcome;
  }

 private:
  void insertLogged(const std::string& line) {
    view_.statusInserted(line);
    support::LogExecution(line);
  }

  // The last query and the end both reach 100: the view hears of each value once.
  void setPercent(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    view_.percentChanged(percent);
  }

  // As into an Access target: without the new file nothing can be exported, an error.
  void exportToSqlite() {
    SqliteFile file;
    const std::string fileName = SqliteTargetFileName(settings_.m_strExportFolder, settings_.m_strFileTitle);
    support::LogError("output file name : ");
    support::LogError(fileName);
    const bool created = file.create(fileName);
    insertLogged(kExportStartedLine);
    if (!created) {
      platform::ShowMessageBox("Error creating database : " + fileName);
      support::LogError(fileName + " database creation failed");
      failed_ = true;
      return;
    }
    target_ = fileName;
    sqlite_ = &file;
    exportTables(kFormatSqlite);
    sqlite_ = nullptr;
    if (!settings_.m_exportQueries.empty() && !channel_.aborted()) {
      const std::string name = "access_queries";
      insertLogged(kTableStartedPrefix + name);
      const SqliteQueriesOutcome queries = ExportQueriesToSqlite(settings_.m_exportQueries, file);
      if (!queries.written) failed_ = true;
      support::LogExecution("Views : " + std::to_string(queries.views) + " of " + std::to_string(queries.selects) +
                            " SELECT queries");
      insertLogged(kTableCompletedPrefix + name);
    }
    if (!channel_.aborted() && !ExportLinkedTablesToSqlite(records::ReadLinkedTables(recovery_), file)) {
      support::LogError("access_linked_tables could not be written: " + file.error());
      failed_ = true;
    }
    if (!file.close()) failed_ = true;
  }

  void exportTables(int variant) {
    const auto& tables = settings_.m_exportTables;
    // A recovered-rows table or file never takes the name of a table of the export.
    for (const analysis::Table* table : tables)
      if (table) targetNames_.insert(support::FoldAsciiCase(table->name));
    support::UniqueFileNames fileNames;
    for (size_t position = 0; position < tables.size(); ++position) {
      if (channel_.aborted()) return;
      reachedTables_ = position + 1;
      analysis::Table* table = tables[position];
      if (!table || table->name.empty()) continue;
      insertLogged(kTableStartedPrefix + table->name);
      CsvTableTarget csv;
      if (variant == kFormatCsv) csv = {settings_.m_strExportFolder, fileNames.take(table->name)};
      int result = variant == kFormatSqlite ? ExportTableToSqlite(recovery_, *table, *sqlite_, settings_.m_nExportMode)
                                            : ExportTableData(recovery_, *table, variant, settings_.m_nExportMode, csv);
      if (result >= 0 && settings_.m_bExportDeleted && settings_.m_nExportMode == kModeSchemaAndData)
        result = exportRecoveredRows(*table, variant, csv, fileNames);
      if (result < 0 && !channel_.aborted()) {
        failed_ = true;
        failedTables_.insert(table);
      }
      if (variant == kFormatCsv || (variant == kFormatSqlite && result > 0)) channel_.done = 1;
      insertLogged(kTableCompletedPrefix + table->name);
      setPercent(static_cast<int>((position + 1) * 75 / tables.size()));
    }
  }

  // The table's deleted and free-space rows, beside its live records.
  int exportRecoveredRows(analysis::Table& table, int variant, CsvTableTarget csv,
                          support::UniqueFileNames& fileNames) {
    int written = 0;
    if (variant == kFormatAccess)
      return ExportRecoveredRowsToAccess(recovery_, table, written, RecoveredTableName(table.name, targetNames_));
    if (variant == kFormatSqlite)
      return ExportRecoveredRowsToSqlite(recovery_, table, *sqlite_, written,
                                         RecoveredTableName(table.name, targetNames_));
    csv.fileTitle = fileNames.take(table.name + kRecoveredTitleSuffix);
    return ExportRecoveredRowsToCsv(recovery_, table, csv, written);
  }

  void exportQueries() {
    const auto& queries = settings_.m_exportQueries;
    support::UniqueFileNames fileNames;
    for (size_t position = 0; position < queries.size(); ++position) {
      if (channel_.aborted()) return;
      const analysis::Queries* query = queries[position];
      if (!query || query->sqlText.empty()) continue;
      insertLogged(kTableStartedPrefix + query->name);
      if (!queries::ExportQueryToFile(*query, settings_.m_strExportFolder, fileNames.take(query->name))) failed_ = true;
      insertLogged(kTableCompletedPrefix + query->name);
      setPercent(75 + static_cast<int>((position + 1) * 25 / queries.size()));
      channel_.done = 1;
    }
  }

  // Only an export that wrote everything it was asked for is a success: a table or query that
  // failed makes it one "with errors" even when others went through, and a stopped export is
  // never a success, also when only queries were chosen.
  std::string finalLine() const {
    const bool tablesChosen = !settings_.m_exportTables.empty();
    if (channel_.aborted()) return kExportAbortedLine;
    if (failed_) return kExportFailedLine;
    if (channel_.done != 0 || !tablesChosen) return kExportSucceededLine;
    return kExportFailedLine;
  }

  analysis::MdbRecovery& recovery_;
  analysis::ProgressChannel& channel_;
  const ExportSettings& settings_;
  ExportView& view_;
  std::string target_;
  SqliteFile* sqlite_ = nullptr;  // the open target of a SQLite export
  size_t reachedTables_ = 0;
  int percent_ = 0;
  bool failed_ = false;
  std::set<const analysis::Table*> failedTables_;  // shown as failed, not as 0 records
  std::set<std::string> targetNames_;              // table names of the target, FoldAsciiCase
};

}  // namespace

ExportOutcome RunExport(analysis::MdbRecovery& recovery, const ExportSettings& settings, ExportView& view) {
  return Run(recovery, settings, view).execute();
}

}  // namespace exporter
