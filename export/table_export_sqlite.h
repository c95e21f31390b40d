// The SQLite variant of the table data export: one table per exported table, its columns in
// order with declared types that keep the values exact, and its records inserted from their
// typed values in one transaction.
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"
#include "export/sqlite_file.h"

namespace exporter {

// "CREATE TABLE "<name>" ("<column>" <declared type>, ...)", with the definition's primary key
// (its columns NOT NULL) when withPrimaryKey and the table has one.
std::string SqliteCreateTableStatement(const analysis::Table& table, bool withPrimaryKey = true);

// Creates the table (and a child table per attachment column) in file and, in mode
// kModeSchemaAndData, inserts its records; counts them in exportedRecords; then makes the
// definition's other indexes. A primary key or unique index the rows break is left out (or made
// without UNIQUE) rather than any row. 1 on success; -1 when the table cannot be created
// (no columns, a name taken: nothing is left of it), a record cannot be written, or the abort
// flag was raised (nothing is left of the table then).
int ExportTableToSqlite(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file, int exportMode);

}  // namespace exporter
