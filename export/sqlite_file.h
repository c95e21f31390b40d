// The SQLite database an export writes into: a new file "Recovered_<title>_<stamp>.sqlite" in
// the destination, written through sqlite3's C API. An existing file is never overwritten.
#pragma once

#include <string>

struct sqlite3;

namespace exporter {

// "<folder>/Recovered_<fileTitle>_<stamp>.sqlite", the stamp as the Access target's.
std::string SqliteTargetFileName(const std::string& exportFolder, const std::string& fileTitle);

// A name as an SQL identifier: in double quotes, inner quotes doubled.
std::string SqliteQuoted(const std::string& name);

class SqliteFile {
 public:
  SqliteFile() = default;
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;
  ~SqliteFile();

  // Creates a new database at path; false (and nothing touched) when the file exists or cannot
  // be created.
  bool create(const std::string& path);
  // Runs statements that return no rows; false with error() set on failure.
  bool execute(const std::string& sql);
  // False when the database did not close cleanly (its last writes may be lost).
  bool close();

  sqlite3* handle() const { return db_; }
  const std::string& error() const { return error_; }
  void setError(const std::string& error) { error_ = error; }

 private:
  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace exporter
