// ExportTableData: one table's export, into the open Access target or as a CSV file.
#pragma once

#include "analysis/mdb_recovery.h"
#include "export/export_settings.h"
#include "export/table_export_csv.h"

namespace exporter {

// variant is an ExportFormat. The Access variant creates the table in m_Obj_DAO_Database with
// its text columns sized in characters (createStatement gives their byte lengths) and, in mode
// kModeSchemaAndData, copies its rows; the CSV variant writes csv's file. 1 on success, -1 on
// failure, on abort or for an unknown variant; exportedRecords counts the records written.
int ExportTableData(analysis::MdbRecovery& recovery, analysis::Table& table, int variant, int exportMode,
                    const CsvTableTarget& csv = {});

}  // namespace exporter
