// The Access variant of the table data export: creates the table in the open engine database
// (the export target, or the temporary catalog database) from its createStatement and appends
// every record through a recordset, each field as its typed value: what the file holds, never
// its display text.
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"
#include "engine/engine.h"
#include "export/export_settings.h"

namespace exporter {

// Appends the table's records to the open recordset, in the record cursor's order; a null value
// is left unset, a value the column cannot hold stays null. A record is appended unless it had
// values and none of them could be set. 1, or -1 when the table has no data pages or the abort
// flag was raised.
int AddRowsToTarget(analysis::MdbRecovery& recovery, analysis::Table& table, engine::EngineRecordset& recordset);

// Creates the table in m_Obj_DAO_Database and, in mode kModeSchemaAndData, copies its rows;
// sets the channel's done flag at the end. 1 on success, -1 on failure or abort. The catalog
// copy always asks for the rows: a schema-only mode left by an earlier export must not leave
// the analysis without its queries.
int ExportTableToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int exportMode = kModeSchemaAndData);
// The same with the table created by statement instead of its createStatement.
int ExportTableToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int exportMode,
                        const std::string& statement);

}  // namespace exporter
