// Runs an Access export of a file in a test: analyses it, exports every user table into a new
// Access database in a folder, and gives the database's path.
#pragma once

#include <string>

#include "export/export_runner.h"

namespace testsupport {

struct AccessExportRun {
  bool analysed = false;
  exporter::ExportOutcome outcome;
  std::vector<std::string> uncreatable;  // tables with a column type no new database knows
};

// The new database is outcome.target.
AccessExportRun ExportToAccess(const std::string& source, const std::string& destination);

}  // namespace testsupport
