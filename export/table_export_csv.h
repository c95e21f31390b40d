// The CSV variant of the table data export: one file "<export folder>/Tables/<title>.csv" per
// table, either the schema form (one "name,type," line per column) or the data form (a header
// line with the column names, then one line per record). Values follow csv_rules: OLE objects
// are written in the line as the hexadecimal of their stored bytes, like binary values; the
// files of attachment columns go to "<export folder>/Attachments" (see attachment_files.h).
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"

namespace exporter {

struct CsvTableTarget {
  std::string exportFolder;  // the dated export folder, which holds "Tables"
  std::string fileTitle;     // the file's name without ".csv", already safe as a file name
};

// Writes the table's file in exportMode (kModeSchemaOnly or kModeSchemaAndData) and counts the
// records written in exportedRecords. 1 on success (a table without data pages gives the header
// line alone); -1 when the export folder did not exist (it is created then, and nothing is
// written), the file or an attachment file cannot be written, or the abort flag was raised.
int ExportTableToCsv(analysis::MdbRecovery& recovery, analysis::Table& table, const CsvTableTarget& target,
                     int exportMode);

}  // namespace exporter
