// Export statistics.
#include "export/export_statistics.h"

#include <cstdio>

#include "platform/file_system.h"
#include "platform/output_file.h"
#include "platform/program_folder.h"

namespace exporter {

std::vector<ExportStatistic> CollectStatistics(const std::vector<analysis::Table*>& tables, size_t reachedTables,
                                               const std::set<const analysis::Table*>& failed) {
  std::vector<ExportStatistic> rows;
  for (size_t i = 0; i < reachedTables && i < tables.size(); ++i) {
    const analysis::Table* table = tables[i];
    if (!table || table->name.empty()) continue;
    if (failed.count(table) != 0) {
      rows.push_back({table->name, 0, true});
      continue;
    }
    if (table->exportedRecords < 0) continue;
    rows.push_back({table->name, table->exportedRecords});
  }
  return rows;
}

std::string StatisticsText(const std::string& destination, const std::vector<ExportStatistic>& statistics) {
  std::string text = "Database Path : " + destination + "\n\n";
  text += "            Table name             :          No of Records\n";
  for (const auto& row : statistics) {
    const std::string count = StatisticCountText(row);
    std::vector<char> line(row.tableName.size() + count.size() + 64);
    std::snprintf(line.data(), line.size(), "%35s:%20s\n", row.tableName.c_str(), count.c_str());
    text += line.data();
  }
  return text;
}

bool WriteStatisticsFile(const std::string& destination, const std::vector<ExportStatistic>& statistics) {
  platform::OutputFile file;
  if (!file.open(platform::JoinPath(platform::ProgramFolder(), kStatisticsFileName))) return false;
  file.write(StatisticsText(destination, statistics));
  return file.close();
}

}  // namespace exporter
