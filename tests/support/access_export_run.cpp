// Analysis and Access export of a file.
#include "tests/support/access_export_run.h"

#include <algorithm>

#include "records/type_names.h"
#include "tests/support/analysed_file.h"

namespace testsupport {

AccessExportRun ExportToAccess(const std::string& source, const std::string& destination) {
  AccessExportRun run;
  AnalysedFile analysed;
  run.analysed = analysed.analyse(source).ok;
  if (!run.analysed) return run;
  for (const auto& table : analysis::g_tables) {
    if (IsProgramTable(table)) continue;
    const bool unknownType = std::any_of(table.columns.begin(), table.columns.end(), [](const auto& column) {
      return records::GetTypeName(column).rfind("UNKNOWN", 0) == 0;
    });
    if (unknownType) run.uncreatable.push_back(table.name);
  }
  run.outcome = analysed.exportUserTables(exporter::kFormatAccess, destination, "values").outcome;
  return run;
}

}  // namespace testsupport
