// tessaly-cli: the command-line face of the recovery tool.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/password_input.h"

namespace {
constexpr const char* kUsage =
    "usage: tessaly-cli COMMAND ...\n"
    "  analyze FILE [--json]        find every table and query of an Access file\n"
    "  records FILE TABLE [--page N | --all] [--json] [--objects DIR] [--deleted]\n"
    "                               a table's records, 100 to a page (binary and OLE values saved in DIR);\n"
    "                               --deleted adds deleted and free-space rows, each marked\n"
    "  query FILE NAME              print the SQL text of the saved query NAME\n"
    "  export FILE --to DIR (--csv | --access) [--schema-only] [--deleted] [--table NAME]... [--query NAME]...\n"
    "                               export tables (and, as CSV, queries) into DIR; --deleted also\n"
    "                               writes each table's deleted and free-space rows beside it\n"
    "Every command takes --password-file FILE for an encrypted file (else TESSALY_PASSWORD,\n"
    "else a prompt on a terminal).\n";
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (const int status = cli::TakePasswordOption(args); status != 0) return status;
  if (command == "analyze") return cli::AnalyzeCommand(args);
  if (command == "records") return cli::RecordsCommand(args);
  if (command == "query") return cli::QueryCommand(args);
  if (command == "export") return cli::ExportCommand(args);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "tessaly-cli: unknown command %s\n", command.c_str());
  std::fputs(kUsage, stderr);
  return 2;
}
