// ExportTableToSqlite: the records are read by the record cursor as the CSV export reads them,
// so the table holds exactly the records the viewer shows.
//
// The table, its attachment child tables, its rows and its indexes are written in one
// transaction. A primary key is declared where the definition has one; when the recovered rows
// break it (a key repeated or left empty, as damaged or edited-outside files have), the
// transaction is rolled back and the table written again without the key: the rows matter more
// than the constraint.
#include "export/table_export_sqlite.h"

#include <sqlite3.h>

#include <algorithm>

#include "analysis/table_indexes.h"
#include "export/export_settings.h"
#include "export/sqlite_attachment_files.h"
#include "export/sqlite_insert.h"
#include "export/sqlite_values.h"
#include "records/record_cursor.h"
#include "support/execution_log.h"

namespace exporter {

namespace {

enum class Insertion { kComplete, kIncomplete, kKeyRefused };

bool isConstraintFailure(int status) {
  return (status & 0xFF) == SQLITE_CONSTRAINT;
}

// Inserts every record, and the files of its attachments; kKeyRefused at the first row the
// declared key refuses (keyed only).
Insertion insertRecords(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file, bool keyed,
                        SqliteAttachmentFiles& attachments) {
  SqliteInsert insert;
  if (!insert.prepare(file, table.name, table.columns.size())) return Insertion::kIncomplete;
  bool complete = true;
  std::vector<const support::Value*> values(table.columns.size(), nullptr);
  records::RecordCursor cursor(recovery, table, records::CursorDecode::kValues);
  while (cursor.next()) {
    int status = SQLITE_OK;
    for (size_t i = 0; i < table.columns.size() && status == SQLITE_OK; ++i) {
      values[i] = &cursor.value(table.columns[i]);
      status = insert.bind(static_cast<int>(i + 1), table.columns[i], *values[i]);
    }
    if (status == SQLITE_OK) status = insert.step();
    if (keyed && isConstraintFailure(status)) return Insertion::kKeyRefused;
    if (status != SQLITE_DONE) {
      support::LogError("Insert record failed for Row=" + std::to_string(cursor.position().row) + ": " +
                        insert.error());
      complete = false;
      continue;
    }
    ++table.exportedRecords;
    if (!attachments.insertFiles(insert.lastRowId(), values)) complete = false;
  }
  if (cursor.aborted() || recovery.channel->aborted()) return Insertion::kIncomplete;
  return complete ? Insertion::kComplete : Insertion::kIncomplete;
}

// The definition's other indexes, made once the rows are in: a unique index the rows break is
// made without UNIQUE (and logged), so an index never costs a row.
void createIndexes(const analysis::Table& table, SqliteFile& file, bool keyed) {
  std::vector<std::vector<int32_t>> made;
  for (const analysis::TableIndex& index : table.indexes) {
    if (keyed && index.kind == analysis::TableIndex::kPrimaryKey) made.push_back(index.columnNumbers);
  }
  for (const analysis::TableIndex& index : table.indexes) {
    if (std::find(made.begin(), made.end(), index.columnNumbers) != made.end()) continue;
    std::string columns;
    for (const analysis::Column* column : analysis::IndexColumns(table, index))
      columns += (columns.empty() ? "" : ", ") + SqliteQuoted(column->name);
    const std::string body = "INDEX " + SqliteQuoted(table.name + "_" + index.name) + " ON " +
                             SqliteQuoted(table.name) + " (" + columns + ")";
    const bool unique = index.unique || index.kind == analysis::TableIndex::kPrimaryKey;
    if (unique && file.execute("CREATE UNIQUE " + body)) {
      made.push_back(index.columnNumbers);
      continue;
    }
    if (unique)
      support::LogError("The index " + index.name + " of " + table.name +
                        " is not unique in the recovered rows: " + file.error());
    if (file.execute("CREATE " + body))
      made.push_back(index.columnNumbers);
    else
      support::LogError("Create index failed.. \r\nCREATE " + body + "\r\n" + file.error());
  }
}

// One attempt inside an open transaction: the tables, then (with data) the rows.
Insertion writeTable(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file, bool withData,
                     bool keyed, bool& created) {
  table.exportedRecords = 0;
  const std::string create = SqliteCreateTableStatement(table, keyed);
  SqliteAttachmentFiles attachments;
  created = file.execute(create);
  if (!created) {
    support::LogError("Create table query failed.. \r\n" + create + "\r\n" + file.error());
    return Insertion::kIncomplete;
  }
  created = attachments.create(recovery, file, table);
  if (!created) return Insertion::kIncomplete;
  const Insertion inserted = withData ? insertRecords(recovery, table, file, keyed, attachments) : Insertion::kComplete;
  if (inserted != Insertion::kKeyRefused) createIndexes(table, file, keyed);
  return inserted;
}

}  // namespace

std::string SqliteCreateTableStatement(const analysis::Table& table, bool withPrimaryKey) {
  const std::vector<size_t> key = withPrimaryKey ? analysis::PrimaryKeyColumns(table) : std::vector<size_t>{};
  std::string sql = "CREATE TABLE " + SqliteQuoted(table.name) + " (";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (i) sql += ", ";
    sql += SqliteQuoted(table.columns[i].name);
    const std::string type = SqliteDeclaredType(table.columns[i]);
    if (!type.empty()) sql += " " + type;
    // A key column is never empty in the source; NOT NULL also keeps sqlite3 from numbering an
    // empty INTEGER key on its own, which would invent a value.
    if (std::find(key.begin(), key.end(), i) != key.end()) sql += " NOT NULL";
  }
  if (!key.empty()) {
    sql += ", PRIMARY KEY (";
    for (size_t k = 0; k < key.size(); ++k) sql += (k ? ", " : "") + SqliteQuoted(table.columns[key[k]].name);
    sql += ")";
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
  const bool withData = exportMode == kModeSchemaAndData && !table.dataPages.empty();
  bool keyed = !analysis::PrimaryKeyColumns(table).empty();
  Insertion result = Insertion::kIncomplete;
  bool created = false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!file.execute("BEGIN")) return -1;
    result = writeTable(recovery, table, file, withData, keyed, created);
    if (result != Insertion::kKeyRefused) break;
    file.execute("ROLLBACK");
    support::LogError("The primary key of " + table.name +
                      " is not declared: its recovered rows repeat a key or leave one empty.");
    keyed = false;
  }
  if (!created || recovery.channel->aborted() || !file.execute("COMMIT")) {
    file.execute("ROLLBACK");
    table.exportedRecords = 0;
    return -1;
  }
  return result == Insertion::kComplete ? 1 : -1;
}

}  // namespace exporter
