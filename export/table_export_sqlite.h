// The SQLite variant of the table data export: one table per exported table, its columns in
// order with declared types that keep the values exact, and its records inserted from their
// typed values in one transaction.
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"
#include "export/sqlite_file.h"

namespace exporter {

// "CREATE TABLE "<name>" ("<column>" <declared type>, ...)". The table definition's index
// information is not decoded, so no primary key is declared.
std::string SqliteCreateTableStatement(const analysis::Table& table);

// Creates the table in file and, in mode kModeSchemaAndData, inserts its records; counts them in
// exportedRecords. 1 on success; -1 when the table cannot be created (no columns, a name taken),
// a record cannot be written, or the abort flag was raised (the table's rows are rolled back then).
int ExportTableToSqlite(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file, int exportMode);

}  // namespace exporter
