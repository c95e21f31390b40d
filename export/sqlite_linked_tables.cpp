// access_linked_tables.
#include "export/sqlite_linked_tables.h"

#include "export/sqlite_insert.h"

namespace exporter {

bool ExportLinkedTablesToSqlite(const std::vector<records::LinkedTable>& linked, SqliteFile& file) {
  if (linked.empty()) return true;
  SqliteInsert insert;
  if (!file.execute("CREATE TABLE access_linked_tables (name TEXT, source_table TEXT, database TEXT, connect TEXT, "
                    "odbc INTEGER)") ||
      !insert.prepare(file, "access_linked_tables", 5))
    return false;
  bool complete = true;
  for (const records::LinkedTable& table : linked) {
    insert.bindText(1, table.name);
    insert.bindText(2, table.sourceTable);
    insert.bindText(3, table.database);
    insert.bindText(4, table.connect);
    insert.bindInteger(5, table.odbc ? 1 : 0);
    if (insert.step() != SQLITE_DONE) complete = false;
  }
  return complete;
}

}  // namespace exporter
