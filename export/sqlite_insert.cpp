// SqliteInsert.
#include "export/sqlite_insert.h"

#include "export/sqlite_values.h"
#include "support/execution_log.h"

namespace exporter {

bool SqliteInsert::prepare(SqliteFile& file, const std::string& table, size_t columnCount) {
  std::string sql = "INSERT INTO " + SqliteQuoted(table) + " VALUES (";
  for (size_t i = 0; i < columnCount; ++i) sql += i ? ",?" : "?";
  sql += ")";
  sqlite3_stmt* raw = nullptr;
  db_ = file.handle();
  if (db_ == nullptr || sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    support::LogError("SQLite insert statement failed.. \r\n" + sql);
    sqlite3_finalize(raw);
    return false;
  }
  statement_.reset(raw);
  return true;
}

int SqliteInsert::bind(int index, const analysis::Column& column, const support::Value& value) {
  return BindSqliteValue(statement_.get(), index, column, value);
}

int SqliteInsert::bindText(int index, const std::string& text) {
  return BindSqliteText(statement_.get(), index, text);
}

int SqliteInsert::bindInteger(int index, int64_t value) {
  return sqlite3_bind_int64(statement_.get(), index, value);
}

int SqliteInsert::bindBlob(int index, const std::vector<uint8_t>& bytes) {
  return BindSqliteBlob(statement_.get(), index, bytes);
}

int SqliteInsert::step() {
  const int status = sqlite3_step(statement_.get());
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
  return status;
}

int64_t SqliteInsert::lastRowId() const {
  return sqlite3_last_insert_rowid(db_);
}

std::string SqliteInsert::error() const {
  return db_ ? sqlite3_errmsg(db_) : "no database";
}

}  // namespace exporter
