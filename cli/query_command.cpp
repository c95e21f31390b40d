// tessaly-cli query FILE NAME: analyses FILE and prints the SQL text of its saved query NAME.
#include <cstdio>

#include "cli/analysis_run.h"
#include "cli/commands.h"
#include "cli/session.h"

namespace cli {

int QueryCommand(const std::vector<std::string>& args) {
  std::vector<std::string> operands;
  bool optionsEnded = false;  // after "--" a NAME may begin with "-"
  for (const auto& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return UsageError("query: unknown option " + arg);
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() != 2) return UsageError("query: FILE and NAME are needed");
  const std::string& path = operands[0];
  const std::string& name = operands[1];
  if (!CheckReadableFile(path)) return 2;

  Session session;
  ConsoleProgress console(false, StderrIsTerminal());
  if (!RunAnalysis(session.recovery(), path, console)) {
    for (const auto& message : console.messages()) std::fprintf(stderr, "tessaly-cli: %s\n", message.c_str());
    return 1;
  }
  for (const auto& query : analysis::g_queries) {
    if (!query->name.empty() && query->name == name) {
      std::printf("%s\n", query->sqlText.c_str());
      return 0;
    }
  }
  std::fprintf(stderr, "tessaly-cli: %s has no saved query named %s\n", path.c_str(), name.c_str());
  return 1;
}

}  // namespace cli
