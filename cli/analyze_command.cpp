// tessaly-cli analyze FILE [--json]
#include <cstdio>

#include "cli/analysis_json.h"
#include "cli/analysis_run.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "records/linked_tables.h"

namespace cli {

int AnalyzeCommand(const std::vector<std::string>& args) {
  std::string path;
  bool asJson = false;
  for (const auto& arg : args) {
    if (arg == "--json")
      asJson = true;
    else if (!arg.empty() && arg[0] == '-')
      return UsageError("analyze: unknown option " + arg);
    else if (path.empty())
      path = arg;
    else
      return UsageError("analyze: only one FILE");
  }
  if (path.empty()) return UsageError("analyze: FILE is missing");
  if (!CheckReadableFile(path)) return 2;

  Session session;
  ConsoleProgress console(!asJson, StderrIsTerminal());
  const bool ok = RunAnalysis(session.recovery(), path, console);

  if (asJson) {
    auto json = AnalysisToJson(session.recovery(), path, ok, console.messages(), console.statusLines());
    AddRowStateCounts(session.recovery(), json);
    AddLinkedTables(session.recovery(), json);
    std::printf("%s\n", json.dump(2).c_str());
  } else {
    std::size_t userTables = 0;
    for (const auto& table : analysis::g_tables)
      if (table.name.rfind("ASys", 0) != 0) ++userTables;
    std::printf("%s: %s, %zu pages, %zu tables, %zu queries\n", path.c_str(), ok ? "analysed" : "not analysed",
                analysis::g_pageMap.size(), userTables, analysis::g_queries.size());
    // The rows of a linked table are elsewhere: say where.
    for (const auto& linked : records::ReadLinkedTables(session.recovery()))
      std::printf("linked table %s: %s\n", linked.name.c_str(), records::LinkedTableSource(linked).c_str());
  }
  return ok ? 0 : 1;
}

}  // namespace cli
