// A file analysed in a test, and the export of its user tables.
#include "tests/support/analysed_file.h"

#include <filesystem>

#include "export/analysis_steps.h"
#include "export/export_folder.h"
#include "support/file_name.h"
#include "tests/support/corpus.h"

namespace testsupport {

AnalysedFile::AnalysedFile(AnalysisSteps steps) {
  if (steps == AnalysisSteps::kInstalled) installSteps();
}

void AnalysedFile::installSteps() {
  exporter::InstallAnalysisSteps(recovery_);
}

AnalysisOutcome AnalysedFile::analyse(const std::string& file, RecordingView* view) {
  const bool asItStands = std::filesystem::path(file).is_absolute() || std::filesystem::exists(file);
  const std::string path = asItStands ? file : CorpusFile(file);
  if (path.empty()) return AnalysisOutcome{};
  return RunAnalysis(recovery_, path, view);
}

analysis::Table* AnalysedFile::open(const std::string& file, const std::string& table) {
  return analyse(file).ok ? Table(table) : nullptr;
}

analysis::Table* AnalysedFile::Table(const std::string& name) {
  for (auto& table : analysis::g_tables)
    if (table.name == name) return &table;
  return nullptr;
}

bool IsProgramTable(const analysis::Table& table) {
  return table.name.empty() || table.name.rfind("ASys", 0) == 0;
}

UserTablesExport AnalysedFile::exportUserTables(int format, const std::string& destination,
                                                const std::string& fileTitle) {
  exporter::ExportSettings settings;
  settings.m_nExportFormat = format;
  settings.m_nExportMode = exporter::kModeSchemaAndData;
  settings.m_strFileTitle = fileTitle;
  settings.m_strExportFolder =
      format == exporter::kFormatCsv ? exporter::PrepareCsvExportFolder(destination) : destination;
  UserTablesExport result;
  result.folder = settings.m_strExportFolder;
  support::UniqueFileNames names;
  for (auto& table : analysis::g_tables) {
    if (IsProgramTable(table)) continue;
    settings.m_exportTables.push_back(&table);
    if (format == exporter::kFormatCsv)
      result.csvFiles.emplace(table.name, result.folder + "/Tables/" + names.take(table.name) + ".csv");
  }
  QuietExportView view;
  result.outcome = exporter::RunExport(recovery_, settings, view);
  return result;
}

}  // namespace testsupport
