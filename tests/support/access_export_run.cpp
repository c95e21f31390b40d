// Analysis and Access export of a file.
#include "tests/support/access_export_run.h"

#include <algorithm>

#include "analysis/mdb_recovery.h"
#include "export/analysis_steps.h"
#include "records/type_names.h"
#include "tests/support/analysis_harness.h"

namespace testsupport {

namespace {
class QuietView : public exporter::ExportView {
 public:
  void statusInserted(const std::string&) override {}
  void percentChanged(int) override {}
  void finished(const std::string&, const std::vector<exporter::ExportStatistic>&) override {}
};
}  // namespace

AccessExportRun ExportToAccess(const std::string& source, const std::string& destination) {
  AccessExportRun run;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  exporter::InstallAnalysisSteps(recovery);
  run.analysed = RunAnalysis(recovery, source).ok;
  if (!run.analysed) return run;
  exporter::ExportSettings settings;
  settings.m_nExportFormat = exporter::kFormatAccess;
  settings.m_nExportMode = exporter::kModeSchemaAndData;
  settings.m_strFileTitle = "values";
  settings.m_strExportFolder = destination;
  for (auto& table : analysis::g_tables) {
    if (table.name.empty() || table.name.rfind("ASys", 0) == 0) continue;
    settings.m_exportTables.push_back(&table);
    const bool unknownType = std::any_of(table.columns.begin(), table.columns.end(), [](const auto& column) {
      return records::GetTypeName(column).rfind("UNKNOWN", 0) == 0;
    });
    if (unknownType) run.uncreatable.push_back(table.name);
  }
  QuietView view;
  run.outcome = exporter::RunExport(recovery, settings, view);
  return run;
}

}  // namespace testsupport
