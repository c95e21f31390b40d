// A new database file being written: the header, the system tables of an empty database,
// the user tables created in it and their rows. Everything is complete on disk only after
// close(); until then the file lives under a temporary name beside its final one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jet4/header_page.h"
#include "jet4/page_file.h"
#include "jet4/table_writer.h"

namespace jet4 {

class DatabaseFile {
 public:
  DatabaseFile() = default;
  ~DatabaseFile();
  DatabaseFile(const DatabaseFile&) = delete;
  DatabaseFile& operator=(const DatabaseFile&) = delete;

  // Starts a new database at path; throws engine::EngineError when path exists or the
  // file cannot be made.
  void create(const std::string& path, const HeaderSettings& settings);
  bool isOpen() const { return open_; }

  // Adds a user table with its catalog entries; throws EngineError when a table of that
  // name (compared without case) exists.
  TableWriter& createTable(TableDef table);
  // The user or system table of that name, or nullptr.
  TableWriter* findTable(const std::string& name);

  // Writes what is left, checks the file and renames it into place; throws EngineError
  // (and removes the temporary file) when that fails.
  void close();
  // Drops the unfinished file.
  void abandon();

  uint64_t bytesWritten() const { return file_.bytesWritten(); }

 private:
  void finishFile();
  void writeGlobalPageMap();

  PageFile file_;
  HeaderSettings settings_;
  std::string path_;
  std::string temporaryPath_;
  bool open_ = false;
  std::vector<std::unique_ptr<TableWriter>> tables_;  // the four system tables first
};

}  // namespace jet4
