// Analysis results as JSON.
#include "cli/analysis_json.h"

#include "analysis/table_indexes.h"
#include "records/linked_tables.h"
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

json indexToJson(const analysis::Table& table, const analysis::TableIndex& index) {
  json columns = json::array();
  for (const analysis::Column* column : analysis::IndexColumns(table, index)) columns.push_back(column->name);
  static const char* const kinds[] = {"index", "primaryKey", "foreignKey"};
  return json{{"name", index.name},
              {"columns", columns},
              {"unique", index.unique},
              {"kind", index.kind < 3 ? kinds[index.kind] : "unknown"}};
}

json tableToJson(const analysis::Table& table) {
  json columns = json::array();
  for (const auto& column : table.columns) columns.push_back(columnToJson(column));
  json indexes = json::array();
  for (const auto& index : table.indexes) indexes.push_back(indexToJson(table, index));
  json result{{"name", table.name},
              {"tdefPage", table.tdefPage},
              {"rowCount", table.rowCount},
              {"dataPages", table.dataPages.size()},
              {"freedPages", table.freedPages.size()},
              {"usageMapDamaged", table.usageMapDamaged},
              {"columns", columns},
              {"indexes", indexes},
              {"createStatement", table.createStatement}};
  // A table whose definition is lost says where its layout came from and what it could not read.
  if (!table.layoutSource.empty()) {
    result["layoutSource"] = table.layoutSource;
    result["unreadableRows"] = table.unreadableRows;
  }
  return result;
}

json inferredTables() {
  json inferred = json::array();
  for (const auto& table : analysis::g_tables)
    if (!table.layoutSource.empty())
      inferred.push_back(json{{"name", table.name},
                              {"layoutSource", table.layoutSource},
                              {"rowsRead", table.rowCount},
                              {"unreadableRows", table.unreadableRows}});
  return inferred;
}
}  // namespace

json AnalysisToJson(const analysis::MdbRecovery& recovery, const std::string& path, bool ok,
                    const std::vector<std::string>& messages, const std::vector<std::string>& status) {
  json tables = json::array();
  for (const auto& table : analysis::g_tables) tables.push_back(tableToJson(table));
  json queries = json::array();
  json hiddenQueries = json::array();  // record sources of forms, reports and controls
  for (const auto& query : analysis::g_queries) {
    if (query->hidden)
      hiddenQueries.push_back(json{{"name", query->name}, {"sql", query->sqlText}});
    else
      queries.push_back(json{{"id", query->id}, {"name", query->name}, {"sql", query->sqlText}});
  }
  const int64_t size = recovery.FileSize();
  return json{{"file", path},
              {"ok", ok},
              {"storageFormat", recovery.channel->storageFormat()},
              {"pagesTotal", size > 0 ? size / analysis::kPageSize : 0},
              {"pagesRead", analysis::g_pageMap.size()},
              {"unnamedTables", recovery.channel->unnamedTables.load()},
              {"inferredTables", inferredTables()},
              {"messages", messages},
              {"status", status},
              {"tables", tables},
              {"queries", queries},
              {"hiddenQueries", hiddenQueries}};
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

void AddLinkedTables(analysis::MdbRecovery& recovery, json& analysis) {
  json linked = json::array();
  for (const auto& table : records::ReadLinkedTables(recovery))
    linked.push_back(json{{"name", table.name},
                          {"sourceTable", table.sourceTable},
                          {"database", table.database},
                          {"connect", table.connect},
                          {"odbc", table.odbc}});
  analysis["linkedTables"] = linked;
}

}  // namespace cli
