// ExportTableToSqlite: the records are read by the record cursor as the CSV export reads them,
// so the table holds exactly the records the viewer shows.
#include "export/table_export_sqlite.h"

#include <sqlite3.h>

#include <memory>

#include "export/export_settings.h"
#include "export/sqlite_values.h"
#include "records/record_cursor.h"
#include "support/execution_log.h"

namespace exporter {

namespace {

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string insertStatement(const analysis::Table& table) {
  std::string sql = "INSERT INTO " + SqliteQuoted(table.name) + " VALUES (";
  for (size_t i = 0; i < table.columns.size(); ++i) sql += i ? ",?" : "?";
  return sql + ")";
}

// Inserts every record; false on abort or when a record could not be written.
bool insertRecords(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file) {
  sqlite3_stmt* raw = nullptr;
  const std::string sql = insertStatement(table);
  if (sqlite3_prepare_v2(file.handle(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    support::LogError("SQLite insert statement failed.. \r\n" + sql);
    sqlite3_finalize(raw);
    return false;
  }
  Statement insert(raw);
  bool complete = true;
  records::RecordCursor cursor(recovery, table, records::CursorDecode::kValues);
  while (cursor.next()) {
    sqlite3_reset(insert.get());
    int status = SQLITE_OK;
    for (size_t i = 0; i < table.columns.size() && status == SQLITE_OK; ++i)
      status = BindSqliteValue(insert.get(), static_cast<int>(i + 1), table.columns[i], cursor.value(table.columns[i]));
    if (status == SQLITE_OK) status = sqlite3_step(insert.get());
    if (status != SQLITE_DONE) {
      support::LogError("Insert record failed for Row=" + std::to_string(cursor.position().row) + ": " +
                        sqlite3_errmsg(file.handle()));
      complete = false;
      continue;
    }
    ++table.exportedRecords;
  }
  return complete && !cursor.aborted() && !recovery.channel->aborted();
}

}  // namespace

std::string SqliteCreateTableStatement(const analysis::Table& table) {
  std::string sql = "CREATE TABLE " + SqliteQuoted(table.name) + " (";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (i) sql += ", ";
    sql += SqliteQuoted(table.columns[i].name);
    const std::string type = SqliteDeclaredType(table.columns[i]);
    if (!type.empty()) sql += " " + type;
  }
  return sql + ")";
}

int ExportTableToSqlite(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file, int exportMode) {
  table.currentPageIndex = 0;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  table.exportedRecords = 0;
  if (exportMode != kModeSchemaOnly && exportMode != kModeSchemaAndData) return -1;
  if (!file.handle() || table.columns.empty()) return -1;
  const std::string create = SqliteCreateTableStatement(table);
  if (!file.execute(create)) {
    support::LogError("Create table query failed.. \r\n" + create + "\r\n" + file.error());
    return -1;
  }
  if (exportMode == kModeSchemaOnly || table.dataPages.empty()) return 1;
  if (recovery.channel->aborted()) return -1;
  if (!file.execute("BEGIN")) return -1;
  const bool complete = insertRecords(recovery, table, file);
  if (recovery.channel->aborted()) {
    file.execute("ROLLBACK");
    table.exportedRecords = 0;
    return -1;
  }
  if (!file.execute("COMMIT")) {
    file.execute("ROLLBACK");
    table.exportedRecords = 0;
    return -1;
  }
  return complete ? 1 : -1;
}

}  // namespace exporter
