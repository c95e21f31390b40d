// One prepared INSERT into a table of the SQLite target, reused for every row.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

#include "analysis/model.h"
#include "export/sqlite_file.h"
#include "support/value.h"

namespace exporter {

class SqliteInsert {
 public:
  // Prepares "INSERT INTO "<table>" VALUES (?, ...)" with columnCount parameters; false (logged)
  // when the statement is refused.
  bool prepare(SqliteFile& file, const std::string& table, size_t columnCount);

  // Binds parameter index (1-based) from a typed value of column; the sqlite3 status.
  int bind(int index, const analysis::Column& column, const support::Value& value);
  int bindText(int index, const std::string& text);
  int bindInteger(int index, int64_t value);
  int bindBlob(int index, const std::vector<uint8_t>& bytes);

  // Inserts the bound row and clears the bindings for the next: SQLITE_DONE on success.
  int step();
  // The rowid the last inserted row received.
  int64_t lastRowId() const;
  std::string error() const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
  sqlite3* db_ = nullptr;
};

}  // namespace exporter
