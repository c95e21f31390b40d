// Exporting a table's recovered rows (deleted rows and rows left on freed pages) beside its
// live records: "Tables/<title> (deleted).csv" for CSV, a table "<name>_deleted" in the Access
// and SQLite targets; all lead with a state column ("deleted" or "free-space").
#pragma once

#include <set>
#include <string>

#include "analysis/mdb_recovery.h"
#include "export/sqlite_file.h"
#include "export/table_export_csv.h"

namespace exporter {

constexpr const char* kRecoveredTitleSuffix = " (deleted)";
constexpr const char* kRecoveredTableSuffix = "_deleted";

// The name of a table's recovered-rows table in a target whose table names (FoldAsciiCase) are in
// taken: "<name>_deleted", or "<name>_deleted (2)", ... when a table of the export has that name
// already. The name returned joins taken.
std::string RecoveredTableName(const std::string& tableName, std::set<std::string>& taken);

// The state column's name: "state", or "state_2", "state_3", ... when the table has a column
// of that name already.
std::string RecoveredStateColumnName(const analysis::Table& table);

// Writes target's file (its fileTitle already carrying the suffix) with a header line and one
// line per recovered row; writes nothing for a table without such rows. 1 on success, -1 when
// the file cannot be written or on abort. recoveredRecords receives the number of rows written.
int ExportRecoveredRowsToCsv(analysis::MdbRecovery& recovery, analysis::Table& table, const CsvTableTarget& target,
                             int& recoveredRecords);

// Creates targetName (by default "<name>_deleted") in m_Obj_DAO_Database and copies the recovered
// rows into it; creates nothing for a table without such rows. 1 on success, -1 on failure or abort.
int ExportRecoveredRowsToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int& recoveredRecords,
                                const std::string& targetName = {});

// Creates targetName (by default "<name>_deleted") in the SQLite target and inserts the recovered rows in one
// transaction; creates nothing for a table without such rows. The table declares no key: a
// deleted row may repeat a live row's key. 1 on success, -1 on failure or abort.
int ExportRecoveredRowsToSqlite(analysis::MdbRecovery& recovery, analysis::Table& table, SqliteFile& file,
                                int& recoveredRecords, const std::string& targetName = {});

}  // namespace exporter
