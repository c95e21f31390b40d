// What one export was asked to do: the main window's export members, shared by the export
// options dialog (which fills them), the export runner and the CLI (which read them).
#pragma once

#include <string>
#include <vector>

#include "analysis/model.h"

namespace exporter {

enum ExportFormat : int { kFormatAccess = 1, kFormatCsv = 2 };
enum ExportMode : int { kModeSchemaOnly = 10, kModeSchemaAndData = 11 };

struct ExportSettings {
  std::string m_strExportFolder;  // destination (for CSV, the dated export folder)
  int m_nExportFormat = 0;        // ExportFormat
  int m_nExportMode = 0;          // ExportMode
  std::string m_strFileTitle;     // the source file's title, for the target's file name
  bool m_bExportDeleted = false;  // also write each table's deleted and free-space rows
  std::vector<analysis::Table*> m_exportTables;
  std::vector<analysis::Queries*> m_exportQueries;
};

}  // namespace exporter
