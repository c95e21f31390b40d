// The statistics of one export: the records written per table, listed in the export window
// and written to "Export Statistics.log" in the program folder.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "analysis/model.h"
#include "export/export_view.h"

namespace exporter {

constexpr const char* kStatisticsFileName = "Export Statistics.log";

// Rows for the first reachedTables selected tables; null entries, empty names and negative
// counts are left out. The tables in failed are listed as failed, whatever their count.
std::vector<ExportStatistic> CollectStatistics(const std::vector<analysis::Table*>& tables, size_t reachedTables,
                                               const std::set<const analysis::Table*>& failed = {});

// "Database Path : <destination>", a blank line, the column header and one "%35s:%20s" line per row.
std::string StatisticsText(const std::string& destination, const std::vector<ExportStatistic>& statistics);

// Replaces the statistics file; false when it cannot be written (the export goes on regardless).
bool WriteStatisticsFile(const std::string& destination, const std::vector<ExportStatistic>& statistics);

}  // namespace exporter
