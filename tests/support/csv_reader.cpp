// The tests' RFC 4180 reader.
#include "tests/support/csv_reader.h"

#include "tests/support/corpus.h"

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

}  // namespace testsupport
