// The tessaly-cli commands. Each takes its own arguments (after the command word) and returns
// the process exit status: 0 success, 1 the work failed, 2 usage error or unreadable path.
#pragma once

#include <string>
#include <vector>

namespace cli {

int AnalyzeCommand(const std::vector<std::string>& args);
int RecordsCommand(const std::vector<std::string>& args);
// query FILE NAME: prints the SQL text of one saved query.
int QueryCommand(const std::vector<std::string>& args);
// export FILE --to DIR (--csv | --access) [--schema-only] [--table NAME]... [--query NAME]...
int ExportCommand(const std::vector<std::string>& args);

// Prints "tessaly-cli: <message>" on stderr and returns 2.
int UsageError(const std::string& message);
// True when the path names a readable regular file; otherwise reports it and returns false.
bool CheckReadableFile(const std::string& path);

}  // namespace cli
