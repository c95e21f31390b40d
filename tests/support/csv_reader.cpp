// The tests' RFC 4180 reader.
#include "tests/support/csv_reader.h"

#include <nlohmann/json.hpp>

#include "tests/support/corpus.h"
#include "tests/support/program_runner.h"

namespace testsupport {

CsvParse ParseCsv(const std::string& text) {
  CsvParse parse;
  CsvRecord record(1);
  bool inQuotes = false, afterQuote = false, pending = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    pending = true;
    if (inQuotes) {
      if (c != '"') {
        record.back().text += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        record.back().text += '"';
        ++i;
      } else {
        inQuotes = false;
        afterQuote = true;
      }
    } else if (c == ',') {
      record.emplace_back();
      afterQuote = false;
    } else if (c == '\n') {
      parse.records.push_back(std::move(record));
      record.assign(1, CsvCell{});
      afterQuote = pending = false;
    } else if (afterQuote) {
      parse.ok = false;  // text after a closing quote
    } else if (c == '"' && record.back().text.empty() && !record.back().quoted) {
      inQuotes = record.back().quoted = true;
    } else {
      if (c == '"' || c == '\r') parse.ok = false;  // a bare quote or carriage return
      record.back().text += c;
    }
  }
  if (inQuotes) parse.ok = false;
  if (pending) parse.records.push_back(std::move(record));
  return parse;
}

CsvParse ReadCsvFile(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return ParseCsv(std::string(bytes.begin(), bytes.end()));
}

std::string PythonCsvDifference(const std::string& path, const CsvParse& parse) {
  static const char* kScript =
      "import csv, json, sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
      "    print(json.dumps(list(csv.reader(f))))\n";
  const ProgramResult python = RunProgram({"python3", "-c", kScript, path});
  if (python.exitCode != 0) return "no python3";
  const nlohmann::json rows = nlohmann::json::parse(python.out, nullptr, false);
  if (!rows.is_array()) return "python3 gave no rows";
  if (rows.size() != parse.records.size())
    return "python3 reads " + std::to_string(rows.size()) + " records, we " + std::to_string(parse.records.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    std::vector<std::string> ours;
    for (const auto& cell : parse.records[r]) ours.push_back(cell.text);
    if (rows[r] != nlohmann::json(ours)) return "record " + std::to_string(r) + ": python3 " + rows[r].dump();
  }
  return "";
}

}  // namespace testsupport
