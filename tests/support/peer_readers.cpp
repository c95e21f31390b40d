// Running the peer readers and reading their output.
#include "tests/support/peer_readers.h"

#include <mutex>

namespace testsupport {

namespace {
constexpr char kNullMarker[] = "\x01NULL\x01";

std::string scriptPath(const std::string& name) {
  return std::string(TESSALY_SOURCE_DIR) + "/tests/scripts/" + name;
}
std::string mdbReaderFolder() {
  return std::string(TESSALY_BINARY_DIR) + "/peers/node";
}

// The script's verdict, once per run: empty when it succeeded, else its reason.
std::string ensure(const std::string& script, const std::vector<std::string>& args) {
  std::vector<std::string> command = {"bash", scriptPath(script)};
  command.insert(command.end(), args.begin(), args.end());
  ProgramResult result = RunProgram(command);
  if (result.exitCode == 0) return "";
  while (!result.out.empty() && (result.out.back() == '\n' || result.out.back() == '\r')) result.out.pop_back();
  return result.out.empty() ? script + " failed" : result.out;
}

// RFC 4180 records as mdb-export writes them (quoted fields with doubled quotes).
std::vector<PeerRow> parseCsv(const std::string& text) {
  std::vector<PeerRow> rows;
  PeerRow row;
  std::string field;
  bool quoted = false, inQuotes = false, any = false;
  const auto endField = [&] {
    if (!quoted && field == kNullMarker)
      row.emplace_back(std::nullopt);
    else
      row.emplace_back(field);
    field.clear();
    quoted = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    any = true;
    if (inQuotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        inQuotes = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      inQuotes = quoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\n') {
      endField();
      rows.push_back(std::move(row));
      row.clear();
      any = false;
    } else {
      field += c;
    }
  }
  if (any) {
    endField();
    rows.push_back(std::move(row));
  }
  return rows;
}
}  // namespace

std::string MdbToolsUnavailable() {
  static std::once_flag once;
  static std::string why;
  std::call_once(once, [] { why = ensure("ensure_mdbtools.sh", {}); });
  return why;
}

std::vector<std::string> MdbToolsTables(const std::string& path) {
  std::vector<std::string> tables;
  const ProgramResult result = RunProgram({"mdb-tables", "-1", path});
  if (result.exitCode != 0) return tables;
  std::string line;
  for (char c : result.out) {
    if (c == '\n') {
      if (!line.empty()) tables.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) tables.push_back(line);
  return tables;
}

std::vector<PeerRow> MdbToolsExport(const std::string& path, const std::string& table) {
  const ProgramResult result =
      RunProgram({"mdb-export", "-0", kNullMarker, "-b", "hex", "-T", "%Y-%m-%d %H:%M:%S", path, table});
  if (result.exitCode != 0) return {};
  return parseCsv(result.out);
}

std::string MdbReaderUnavailable() {
  static std::once_flag once;
  static std::string why;
  std::call_once(once, [] { why = ensure("ensure_mdb_reader.sh", {mdbReaderFolder()}); });
  return why;
}

nlohmann::json MdbReaderDump(const std::string& path, int every) {
  const ProgramResult result =
      RunProgram({"node", scriptPath("mdb_reader_dump.mjs"), mdbReaderFolder(), path, std::to_string(every)});
  if (result.exitCode != 0) return nullptr;
  return nlohmann::json::parse(result.out, nullptr, false);
}

}  // namespace testsupport
