// Attachment columns in the SQLite target: the owner's column keeps the files' names as the
// record list shows them, and a child table "<table>_<column>_files" holds every file with the
// rowid of its owner's row, its name, its type and its bytes:
//
//   SELECT t.*, f.name, f.data FROM "t" t JOIN "t_Photos_files" f ON f.owner_rowid = t.rowid
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "export/sqlite_file.h"
#include "export/sqlite_insert.h"
#include "support/value.h"

namespace exporter {

class SqliteAttachmentFiles {
 public:
  // Creates the child table of every attachment column of table; false (logged, error set) when
  // one cannot be created.
  bool create(analysis::MdbRecovery& recovery, SqliteFile& file, const analysis::Table& table);
  // Inserts the files of the row just inserted as ownerRowId (values in table.columns' order);
  // false when a file could not be written.
  bool insertFiles(int64_t ownerRowId, const std::vector<const support::Value*>& values);
  int64_t filesWritten() const { return written_; }
  const std::string& error() const { return error_; }

 private:
  struct Child {
    size_t column = 0;  // position in table.columns
    SqliteInsert insert;
  };
  std::vector<std::unique_ptr<Child>> children_;
  int64_t written_ = 0;
  std::string error_;
};

// The child table's name.
std::string SqliteAttachmentTableName(const analysis::Table& table, const analysis::Column& column);

}  // namespace exporter
