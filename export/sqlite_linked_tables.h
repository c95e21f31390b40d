// The linked tables in the SQLite target: a table "access_linked_tables" (name, source_table,
// database, connect, odbc) that says where the rows of each live, so that the views over them
// can be mended by hand. Written only when the file has linked tables.
#pragma once

#include <vector>

#include "export/sqlite_file.h"
#include "records/linked_tables.h"

namespace exporter {

// True when there is nothing to write or everything was written.
bool ExportLinkedTablesToSqlite(const std::vector<records::LinkedTable>& linked, SqliteFile& file);

}  // namespace exporter
