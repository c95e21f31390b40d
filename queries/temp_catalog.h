// The temporary catalog database: the catalog's object and query tables are copied into a
// small database of our own, "TempDb.mdb", so the query reader can read them back with SQL.
// It exists only while BuildQueries runs.
#pragma once

#include <functional>

#include "analysis/mdb_recovery.h"

namespace queries {

// Copies one table into the open engine database the way an Access export does: creates it
// from its createStatement, then appends its rows. 1 on success, -1 on failure. The Access
// export (a layer above) provides it.
using TableCopier = std::function<int(analysis::MdbRecovery&, analysis::Table&)>;

// The fixed definition of the query table in the temporary database.
constexpr const char* kQueriesTableStatement =
    "CREATE TABLE [ASysQueries]([ObjectId] COUNTER,[Attribute] INT, [Order] INT,[Name1] TEXT(255), [Name2] "
    "TEXT(255), [Expression] MEMO, [Flag] INT, [LvExtra] LONG);";

// CreateTempDatabase, CopyCatalogTables, ReadQueries, DropTempDatabase. When the database
// cannot be made, nothing is copied or read, the file is still removed and done is still set.
void BuildQueries(analysis::MdbRecovery& recovery, const TableCopier& copyTable);

// Deletes a stale file and creates the database at tempDbPath, open and locked. False (and a
// line in the error log) when the engine failed.
bool CreateTempDatabase(analysis::MdbRecovery& recovery);
// Copies the tables named exactly ASysObjects and ASysQueries; nothing else.
void CopyCatalogTables(analysis::MdbRecovery& recovery, const TableCopier& copyTable);
// Closes the database and deletes its file.
void DropTempDatabase(analysis::MdbRecovery& recovery);

}  // namespace queries
