// The recovered rows of a table, written as CSV or into the Access or SQLite target.
#include "export/recovered_export.h"

#include <memory>
#include <vector>

#include "export/attachment_files.h"
#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "export/schema_statements.h"
#include "export/sqlite_insert.h"
#include "export/table_export_access.h"
#include "export/table_export_sqlite.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "records/recovered_records.h"
#include "records/type_names.h"
#include "support/execution_log.h"
#include "support/text.h"
#include "support/value_builders.h"

namespace exporter {

namespace {
constexpr int32_t kStateColumnBytes = 40;  // "free-space" with room to spare, in UTF-16 bytes

bool hasColumnNamed(const analysis::Table& table, const std::string& name) {
  for (const auto& column : table.columns)
    if (column.name == name) return true;
  return false;
}

// The table as the Access target receives it: its name with the suffix, the state column first.
analysis::Table recoveredTableShape(const analysis::Table& table, const std::string& targetName) {
  analysis::Table shape;
  shape.name = targetName.empty() ? table.name + kRecoveredTableSuffix : targetName;
  analysis::Column state;
  state.name = RecoveredStateColumnName(table);
  state.type = records::kTypeText;
  state.length = kStateColumnBytes;
  shape.columns.push_back(state);
  shape.columns.insert(shape.columns.end(), table.columns.begin(), table.columns.end());
  return shape;
}
}  // namespace

std::string RecoveredTableName(const std::string& tableName, std::set<std::string>& taken) {
  const std::string base = tableName + kRecoveredTableSuffix;
  std::string name = base;
  for (int n = 2; taken.count(support::FoldAsciiCase(name)); ++n) name = base + " (" + std::to_string(n) + ")";
  taken.insert(support::FoldAsciiCase(name));
  return name;
}

std::string RecoveredStateColumnName(const analysis::Table& table) {
  std::string name = "state";
  for (int n = 2; hasColumnNamed(table, name); ++n) name = "state_" + std::to_string(n);
  return name;
}

int ExportRecoveredRowsToCsv(analysis::MdbRecovery& recovery, analysis::Table& table, const CsvTableTarget& target,
                             int& recoveredRecords) {
  recoveredRecords = 0;
  const std::vector<records::RecoveredRecord> rows = records::ReadRecoveredRecords(recovery, table);
  if (recovery.Channel().aborted()) return -1;
  if (rows.empty()) return 1;
  platform::OutputFile file;
  const std::string path =
      platform::JoinPath(platform::JoinPath(target.exportFolder, kTablesFolder), target.fileTitle + ".csv");
  if (!file.open(path)) return -1;
  std::vector<std::string> names{RecoveredStateColumnName(table)};
  for (const auto& column : table.columns) names.push_back(column.name);
  file.write(CsvLine(names));
  AttachmentFiles attachments(target.exportFolder, target.fileTitle);
  std::string line;
  for (const auto& row : rows) {
    line.clear();
    AppendCsvText(records::RowStateName(row.state), line);
    for (size_t i = 0; i < table.columns.size() && i < row.values.size(); ++i) {
      line += ',';
      AppendCsvField(attachments, table.columns[i], recoveredRecords + 1, row.values[i], line);
    }
    line += '\n';
    file.write(line);
    ++recoveredRecords;
  }
  return file.close() && !attachments.failed() ? 1 : -1;
}

int ExportRecoveredRowsToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int& recoveredRecords,
                                const std::string& targetName) {
  recoveredRecords = 0;
  const std::vector<records::RecoveredRecord> rows = records::ReadRecoveredRecords(recovery, table);
  if (recovery.Channel().aborted()) return -1;
  if (rows.empty()) return 1;
  auto database = recovery.m_Obj_DAO_Database;
  if (!database || !database->IsOpen()) return -1;
  const analysis::Table shape = recoveredTableShape(table, targetName);
  const std::string stateColumn = shape.columns.front().name;
  std::unique_ptr<engine::EngineRecordset> recordset;
  try {
    recordset = database->NewRecordset();
    database->Execute(CreateTableStatement(shape, StatementForm::kForNewDatabase));
    recordset->Open("select * from [" + shape.name + "] where 1=-1");
  } catch (...) {
    support::LogError("Create table query failed.. \r\n" + shape.name);
    return -1;
  }
  for (const auto& row : rows) {
    if (recovery.Channel().aborted()) break;
    try {
      recordset->AddNew();
      recordset->SetFieldValue(stateColumn, support::TextValue(records::RowStateName(row.state)));
      for (size_t i = 0; i < table.columns.size() && i < row.values.size(); ++i) {
        if (row.values[i].isNull()) continue;
        try {
          recordset->SetFieldValue(table.columns[i].name, row.values[i]);
        } catch (...) {
          support::LogError("Value of " + table.columns[i].name + " not written for a recovered row");
        }
      }
      recordset->Update();
      ++recoveredRecords;
    } catch (...) {
      support::LogError("Update record failed for a recovered row of " + table.name);
    }
  }
  try {
    recordset->Close();
  } catch (...) {
    support::LogError("Close RecordSet failed...");
    return -1;
  }
  return recovery.Channel().aborted() ? -1 : 1;
}

int ExportRecoveredRowsToSqlite(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file,
                                int& recoveredRecords, const std::string& targetName) {
  recoveredRecords = 0;
  const std::vector<records::RecoveredRecord> rows = records::ReadRecoveredRecords(recovery, table);
  if (recovery.Channel().aborted()) return -1;
  if (rows.empty()) return 1;
  const analysis::Table shape = recoveredTableShape(table, targetName);
  const std::string create = SqliteCreateTableStatement(shape, false);
  SqliteInsert insert;
  if (!file.execute("BEGIN")) return -1;
  if (!file.execute(create) || !insert.prepare(file, shape.name, shape.columns.size())) {
    support::LogError("Create table query failed.. \r\n" + create + "\r\n" + file.error());
    file.execute("ROLLBACK");
    return -1;
  }
  bool complete = true;
  for (const auto& row : rows) {
    if (recovery.Channel().aborted()) break;
    int status = insert.bindText(1, records::RowStateName(row.state));
    for (size_t i = 0; i < table.columns.size() && i < row.values.size() && status == SQLITE_OK; ++i)
      status = insert.bind(static_cast<int>(i + 2), table.columns[i], row.values[i]);
    if (status == SQLITE_OK) status = insert.step();
    if (status != SQLITE_DONE) {
      support::LogError("Insert record failed for a recovered row of " + table.name + ": " + insert.error());
      complete = false;
      continue;
    }
    ++recoveredRecords;
  }
  if (recovery.Channel().aborted() || !file.execute("COMMIT")) {
    file.execute("ROLLBACK");
    recoveredRecords = 0;
    return -1;
  }
  return complete ? 1 : -1;
}

}  // namespace exporter
