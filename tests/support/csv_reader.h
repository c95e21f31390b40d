// An RFC 4180 reader for the tests: what a standard CSV reader makes of our files, with each
// field's quoting kept (an empty unquoted field is a null, "" an empty text).
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct CsvCell {
  std::string text;
  bool quoted = false;
  bool operator==(const CsvCell&) const = default;
};
using CsvRecord = std::vector<CsvCell>;

// Records of text, each ended by "\n" (a final record without one is kept). ok is false when a
// quote is left open or a quoted field is followed by anything but a separator or a line end.
struct CsvParse {
  std::vector<CsvRecord> records;
  bool ok = true;
};
CsvParse ParseCsv(const std::string& text);
CsvParse ReadCsvFile(const std::string& path);

// Python's csv module over the file, as a check on this reader: "" when it reads the same
// texts as parse, else what differs; "no python3" when Python cannot be run.
std::string PythonCsvDifference(const std::string& path, const CsvParse& parse);

}  // namespace testsupport
