// CSV text rules.
#include "export/csv_rules.h"

#include <algorithm>

#include "records/type_names.h"

namespace exporter {

namespace {
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool needsCleaning(char c) {
  return c == '\n' || c == '\r' || c == '"' || c == '\\' || c == '\'';
}
bool needsQuotes(char c) {
  return c == ',' || c == '"' || c == '\r' || c == '\n';
}
}  // namespace

void CleanFieldText(std::string& text) {
  size_t first = 0;
  while (first < text.size() && isBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && isBlank(text[last - 1])) --last;
  // Most texts need nothing (std::any_of is one pass; find_first_of searches its set per character).
  if (first == 0 && last == text.size() && std::none_of(text.begin(), text.end(), needsCleaning)) return;
  std::string cleaned;
  cleaned.reserve(last - first);
  for (size_t i = first; i < last; ++i) {
    const char c = text[i];
    if (c == '\n' || c == '\r' || c == '"')
      cleaned += ';';
    else if (c == '\\')
      cleaned += "\\\\";
    else if (c == '\'')
      cleaned += '`';
    else
      cleaned += c;
  }
  text.swap(cleaned);
}

std::string CsvTypeName(const analysis::Column& column) {
  if (column.type == records::kTypeAttachment) return "UNKNOWN-DATATYPE";
  std::string name = records::GetTypeName(column);
  if (name.rfind("UNKNOWN-DATATYPE", 0) == 0) return "UNKNOWN-DATATYPE";
  return name;
}

std::string CsvValueText(const analysis::Column& column, const std::string& decoded, const ObjectPlacer& placeObject) {
  std::string text = decoded;
  CleanFieldText(text);
  if (text == "NULL") return {};
  switch (column.type) {
    case records::kTypeBit: return text == "1" ? "Yes" : "No";
    case records::kTypeBinary: return " ";
    case records::kTypeOle: {
      // The decoded text names a temporary file that goes when the program closes: the export
      // keeps its own copy and refers to that.
      std::string placed = placeObject ? placeObject(decoded) : std::string();
      return "?{file '" + (placed.empty() ? text : placed) + "'}";
    }
    default: return text;
  }
}

std::string CsvQuoted(const std::string& field) {
  if (std::none_of(field.begin(), field.end(), needsQuotes)) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ", ";
    line += CsvQuoted(fields[i]);
  }
  line += '\n';
  return line;
}

std::string CsvSchemaLine(const analysis::Column& column) {
  return CsvQuoted(column.name) + "," + CsvTypeName(column) + ",\n";
}

}  // namespace exporter
