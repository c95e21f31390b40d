// SqliteFile and the target's name.
#include "export/sqlite_file.h"

#include <sqlite3.h>

#include "export/access_target.h"
#include "platform/file_system.h"

namespace exporter {

std::string SqliteTargetFileName(const std::string& exportFolder, const std::string& fileTitle) {
  return platform::JoinPath(exportFolder, "Recovered_" + fileTitle + "_" + TargetTimeStamp() + ".sqlite");
}

std::string SqliteQuoted(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

SqliteFile::~SqliteFile() {
  close();
}

bool SqliteFile::create(const std::string& path) {
  close();
  if (path.empty() || platform::FileExists(path)) {
    error_ = "file exists";
    return false;
  }
  sqlite3* db = nullptr;
  const int status = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (status != SQLITE_OK) {
    error_ = db ? sqlite3_errmsg(db) : sqlite3_errstr(status);
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  // An empty database is no file until something is written: write the header now, so that the
  // target exists as soon as it is created (and a second export cannot take its name).
  return execute(
      "PRAGMA user_version = 0; CREATE TABLE IF NOT EXISTS \"_tessaly_probe\"(x); DROP TABLE \"_tessaly_probe\";");
}

bool SqliteFile::execute(const std::string& sql) {
  if (!db_) return false;
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
  error_ = message ? message : "error";
  sqlite3_free(message);
  return false;
}

bool SqliteFile::close() {
  if (!db_) return true;
  const bool closed = sqlite3_close(db_) == SQLITE_OK;
  if (!closed) sqlite3_close_v2(db_);  // statements still open: closed when they are finalized
  db_ = nullptr;
  return closed;
}

}  // namespace exporter
