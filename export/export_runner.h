// The export driver: exports the chosen tables (and, into CSV files, the chosen queries) one
// after another on the calling thread, reporting each step to an ExportView, and writes the
// statistics to "Export Statistics.log" at the end. The GUI runs it on its export thread, the
// CLI on its main thread.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "export/export_settings.h"
#include "export/export_view.h"

namespace exporter {

constexpr const char* kExportStartedLine = "Export Database started...";
constexpr const char* kTableStartedPrefix = "Export started  : ";
constexpr const char* kTableCompletedPrefix = "Export completed : ";
constexpr const char* kExportSucceededLine = "Export completed Successfully...";
constexpr const char* kExportFailedLine = "Export completed with errors...";
constexpr const char* kExportAbortedLine = "Export Aborted by user...";

struct ExportOutcome {
  std::string finalLine;
  std::string target;                       // the Access or SQLite file created, or the CSV export folder
  std::vector<ExportStatistic> statistics;  // the tables the export reached, as listed
  bool succeeded() const { return finalLine == kExportSucceededLine; }
};

// settings.m_strExportFolder is the destination of an Access export (the target file is created
// there) or the prepared folder of a CSV export (PrepareCsvExportFolder). Format kFormatAccess
// copies the tables into a new Access database, kFormatCsv writes each table's CSV file and
// each query's script, kFormatSqlite writes the tables into a new SQLite database
// "Recovered_<title>_<stamp>.sqlite" in the destination; any other format exports nothing. The channel's abort and done
// flags are cleared first and belong to the export until it returns.
ExportOutcome RunExport(analysis::MdbRecovery& recovery, const ExportSettings& settings, ExportView& view);

}  // namespace exporter
