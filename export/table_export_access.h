// The Access variant of the table data export: creates the table in the open engine database
// (the export target, or the temporary catalog database) from its createStatement and appends
// every decoded row through a recordset, one field value at a time as text.
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"
#include "engine/engine.h"
#include "export/export_settings.h"
#include "records/field_writer.h"

namespace exporter {

// Sets each decoded field of a row on the recordset's pending new record, exactly as decoded
// (an export into a database keeps every value as stored: no trimming or replacing).
class AccessFieldWriter : public records::FieldWriter {
 public:
  explicit AccessFieldWriter(engine::EngineRecordset& recordset) : recordset_(recordset) {}
  // "NULL" writes nothing; an OLE object's field names its file, whose bytes are written; a
  // present BIT is "1". False (not counted) when nothing was written or the engine failed.
  bool writeField(const analysis::Column& column, analysis::Field& field) override;

 private:
  engine::EngineRecordset& recordset_;
};

// Appends the table's rows to the open recordset. 1, or -1 when the table has no data pages or
// the abort flag was raised.
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
