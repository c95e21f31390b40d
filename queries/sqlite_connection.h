// The SQLite connection shared by a database object and the recordsets made on it, so that a
// recordset outliving its database's Close fails cleanly instead of touching a freed handle.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

#include "engine/engine.h"

namespace queries {

class SqliteConnection {
 public:
  explicit SqliteConnection(sqlite3* handle) : handle_(handle) {}
  ~SqliteConnection() { close(); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  bool isOpen() const { return handle_ != nullptr; }
  // The open handle; engine::EngineError when the database was closed.
  sqlite3* handle() const;
  // Closes the handle; statements still prepared on it are finalized by their owners later.
  bool close();
  // engine::EngineError with the message of the last failure on this connection.
  [[noreturn]] void fail(const std::string& what) const;

 private:
  sqlite3* handle_;
};

// One prepared statement, finalized when it goes.
class SqliteStatement {
 public:
  SqliteStatement(const SqliteConnection& connection, const std::string& sql);
  ~SqliteStatement() { sqlite3_finalize(statement_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

std::unique_ptr<engine::EngineRecordset> MakeSqliteRecordset(std::shared_ptr<SqliteConnection> connection);

}  // namespace queries
