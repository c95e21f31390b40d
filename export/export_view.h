// What an export shows while it runs: the export window of the viewer and the CLI both
// implement it, and RunExport (export_runner.h) drives it. Calls come from the thread that runs
// the export, in this order: statusInserted and percentChanged as the work goes on, then
// finished exactly once. To stop an export, set the analysis channel's abort flag (from any
// thread); the export finishes the table or query in hand and ends with "Export Aborted by user...".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace exporter {

// One row of the statistics: a table and the records its export wrote, or that its export
// failed (the target refused the table, its file could not be written).
struct ExportStatistic {
  std::string tableName;
  int32_t exportedRecords = 0;
  bool failed = false;
};

// What the statistics show for the row's records: the count, or "Failed".
inline std::string StatisticCountText(const ExportStatistic& statistic) {
  return statistic.failed ? "Failed" : std::to_string(statistic.exportedRecords);
}

class ExportView {
 public:
  virtual ~ExportView() = default;
  // A new status line, shown at the top of the status list (newest first).
  virtual void statusInserted(const std::string& line) = 0;
  // 0 to 100; during one export it only grows, and each value comes once.
  virtual void percentChanged(int percent) = 0;
  // The export ended with finalLine (also the last status line); the statistics follow it.
  virtual void finished(const std::string& finalLine, const std::vector<ExportStatistic>& statistics) = 0;
};

}  // namespace exporter
