// Attachment columns in the Access target: a Jet 4 database has no complex columns, so each
// attachment column gets a child table "<table>_<column>_files" with one row per file (the
// owner's key, the file's name, type and bytes); the owner's column keeps the joined names.
#pragma once

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"

namespace exporter {

// The child table's name and CREATE TABLE statement.
std::string AttachmentTableName(const analysis::Table& table, const analysis::Column& column);
std::string AttachmentTableStatement(const std::string& name);

// Creates the child table of every attachment column of the table in the open target and, in
// kModeSchemaAndData, fills it. Returns the number of files written, -1 when a child table
// cannot be created (logged; the owner's export stands).
int ExportAttachmentTables(analysis::MdbRecovery& recovery, const analysis::Table& table, int exportMode);

}  // namespace exporter
