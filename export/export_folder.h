// The dated folder a CSV export writes into: "Korvane_Selbrin_(DATE=m-d-y)_(TIME=hhr.mm.ss)" in
// the chosen destination, with "Tables" (CSV files) and "Queries" (.sql files) inside, and
// "Objects" (OLE objects) and "Attachments" (attachment files) once a table holds one. The export
// options dialog and the CLI share it.
#pragma once

#include <string>

namespace exporter {

constexpr const char* kTablesFolder = "Tables";
constexpr const char* kQueriesFolder = "Queries";
constexpr const char* kObjectsFolder = "Objects";
constexpr const char* kAttachmentsFolder = "Attachments";

// The folder's name for this moment: the UTC date and the local time, no leading zeros.
std::string CsvExportFolderName();

// Creates the export folder in destination and returns its path. When a folder of that name
// exists (an export in the same second), " (2)", " (3)" ... is appended, so every export starts
// from an empty folder and none removes another's files.
std::string PrepareCsvExportFolder(const std::string& destination);

}  // namespace exporter
