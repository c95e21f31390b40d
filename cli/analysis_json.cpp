// Analysis results as JSON.
#include "cli/analysis_json.h"

#include "records/row_states.h"
#include "records/type_names.h"

namespace cli {

using nlohmann::json;

namespace {
json columnToJson(const analysis::Column& column) {
  return json{{"name", column.name},
              {"type", records::GetTypeName(column)},
              {"typeCode", column.type},
              {"length", column.length},
              {"columnNumber", column.columnNumber}};
}

json tableToJson(const analysis::Table& table) {
  json columns = json::array();
  for (const auto& column : table.columns) columns.push_back(columnToJson(column));
  return json{{"name", table.name},
              {"tdefPage", table.tdefPage},
              {"rowCount", table.rowCount},
              {"dataPages", table.dataPages.size()},
              {"freedPages", table.freedPages.size()},
              {"usageMapDamaged", table.usageMapDamaged},
              {"columns", columns},
              {"createStatement", table.createStatement}};
}
}  // namespace

json AnalysisToJson(const analysis::MdbRecovery& recovery, const std::string& path, bool ok,
                    const std::vector<std::string>& messages, const std::vector<std::string>& status) {
  json tables = json::array();
  for (const auto& table : analysis::g_tables) tables.push_back(tableToJson(table));
  json queries = json::array();
  for (const auto& query : analysis::g_queries)
    queries.push_back(json{{"id", query->id}, {"name", query->name}, {"sql", query->sqlText}});
  const int64_t size = recovery.FileSize();
  return json{{"file", path},
              {"ok", ok},
              {"storageFormat", recovery.channel->storageFormat()},
              {"pagesTotal", size > 0 ? size / analysis::kPageSize : 0},
              {"pagesRead", analysis::g_pageMap.size()},
              {"unnamedTables", recovery.channel->unnamedTables.load()},
              {"messages", messages},
              {"status", status},
              {"tables", tables},
              {"queries", queries}};
}

void AddRowStateCounts(analysis::MdbRecovery& recovery, json& analysis) {
  json& tables = analysis["tables"];
  for (size_t i = 0; i < analysis::g_tables.size() && i < tables.size(); ++i) {
    const records::RowStateCounts counts = records::WalkRowStates(recovery, analysis::g_tables[i], {});
    tables[i]["rows"] = json{{"live", counts.live},
                             {"deleted", counts.deleted},
                             {"freeSpace", counts.freeSpace},
                             {"unreadable", counts.unreadable}};
  }
}

}  // namespace cli
