// tessaly-cli export FILE --to DIR (--csv | --access) [--schema-only] [--deleted] [--table NAME]...
// [--query NAME]...: analyses FILE and exports the named tables and queries (every user table
// and query when none is named) the way the viewer's export does, printing its status lines
// and statistics. Exit status 0 only when the export completed successfully.
#include <cstdio>

#include "cli/analysis_run.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "export/export_folder.h"
#include "export/export_runner.h"
#include "export/export_statistics.h"
#include "platform/file_system.h"

namespace cli {

namespace {

struct ExportOptions {
  std::string path;
  std::string destination;
  int format = 0;
  bool schemaOnly = false;
  bool deleted = false;
  std::vector<std::string> tables;
  std::vector<std::string> queries;
};

int parseOptions(const std::vector<std::string>& args, ExportOptions& options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--csv" || arg == "--access") {
      const int format = arg == "--csv" ? exporter::kFormatCsv : exporter::kFormatAccess;
      if (options.format != 0 && options.format != format)
        return UsageError("export: --csv and --access exclude each other");
      options.format = format;
    } else if (arg == "--schema-only") {
      options.schemaOnly = true;
    } else if (arg == "--deleted") {
      options.deleted = true;
    } else if (arg == "--to" || arg == "--table" || arg == "--query") {
      if (i + 1 >= args.size()) return UsageError("export: " + arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--to")
        options.destination = value;
      else if (arg == "--table")
        options.tables.push_back(value);
      else
        options.queries.push_back(value);
    } else if (!arg.empty() && arg[0] == '-') {
      return UsageError("export: unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return UsageError("export: one FILE is needed");
  if (options.destination.empty()) return UsageError("export: --to DIR is needed");
  if (options.format == 0) return UsageError("export: --csv or --access is needed");
  if (options.format == exporter::kFormatAccess && !options.queries.empty())
    return UsageError("export: an Access export writes no queries; use --csv for --query");
  options.path = positional[0];
  return 0;
}

// The named tables, or every user table (the catalog's "ASys" tables are never offered).
bool chooseTables(const ExportOptions& options, std::vector<analysis::Table*>& chosen) {
  if (options.tables.empty()) {
    for (auto& table : analysis::g_tables)
      if (!table.name.empty() && table.name.rfind("ASys", 0) != 0) chosen.push_back(&table);
    return true;
  }
  for (const auto& name : options.tables) {
    analysis::Table* found = nullptr;
    for (auto& table : analysis::g_tables)
      if (table.name == name && name.rfind("ASys", 0) != 0) found = &table;
    if (!found) {
      std::fprintf(stderr, "tessaly-cli: %s has no table named %s\n", options.path.c_str(), name.c_str());
      return false;
    }
    chosen.push_back(found);
  }
  return true;
}

bool chooseQueries(const ExportOptions& options, std::vector<analysis::Queries*>& chosen) {
  if (options.format != exporter::kFormatCsv) return true;
  if (options.queries.empty()) {
    for (auto& query : analysis::g_queries) chosen.push_back(query.get());
    return true;
  }
  for (const auto& name : options.queries) {
    analysis::Queries* found = nullptr;
    for (auto& query : analysis::g_queries)
      if (query->name == name) found = query.get();
    if (!found) {
      std::fprintf(stderr, "tessaly-cli: %s has no saved query named %s\n", options.path.c_str(), name.c_str());
      return false;
    }
    chosen.push_back(found);
  }
  return true;
}

// Status lines in the order they come (the window lists them newest first), the bar on stderr.
class ConsoleExportView : public exporter::ExportView {
 public:
  explicit ConsoleExportView(ConsoleProgress& console) : console_(console) {}
  void statusInserted(const std::string& line) override { console_.statusChanged(line); }
  void percentChanged(int percent) override { console_.percentChanged(percent); }
  void finished(const std::string&, const std::vector<exporter::ExportStatistic>&) override { console_.finish(); }

 private:
  ConsoleProgress& console_;
};

}  // namespace

int ExportCommand(const std::vector<std::string>& args) {
  ExportOptions options;
  if (const int status = parseOptions(args, options)) return status;
  if (!CheckReadableFile(options.path)) return 2;
  if (!platform::FolderExists(options.destination)) {
    std::fprintf(stderr, "tessaly-cli: cannot export into %s: no such folder\n", options.destination.c_str());
    return 2;
  }

  Session session;
  {
    ConsoleProgress analysisConsole(false, StderrIsTerminal());
    if (!RunAnalysis(session.recovery(), options.path, analysisConsole)) {
      for (const auto& message : analysisConsole.messages()) std::fprintf(stderr, "tessaly-cli: %s\n", message.c_str());
      return 1;
    }
  }

  exporter::ExportSettings settings;
  settings.m_nExportFormat = options.format;
  settings.m_nExportMode = options.schemaOnly ? exporter::kModeSchemaOnly : exporter::kModeSchemaAndData;
  settings.m_strFileTitle = platform::FileTitle(options.path);
  settings.m_bExportDeleted = options.deleted;
  if (!chooseTables(options, settings.m_exportTables) || !chooseQueries(options, settings.m_exportQueries)) return 1;
  settings.m_strExportFolder = options.format == exporter::kFormatCsv
                                   ? exporter::PrepareCsvExportFolder(options.destination)
                                   : options.destination;

  ConsoleProgress console(true, StderrIsTerminal());
  ConsoleExportView view(console);
  platform::InstallMessageSink(&console);
  const exporter::ExportOutcome outcome = exporter::RunExport(session.recovery(), settings, view);
  platform::InstallMessageSink(nullptr);

  if (!outcome.target.empty()) std::printf("Exported to : %s\n", outcome.target.c_str());
  std::printf("\n%s", exporter::StatisticsText(settings.m_strExportFolder, outcome.statistics).c_str());
  return outcome.succeeded() ? 0 : 1;
}

}  // namespace cli
