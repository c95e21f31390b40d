// CSV text rules.
#include "export/csv_rules.h"

#include "records/type_names.h"
#include "records/value_text.h"

namespace exporter {

namespace {
using support::ValueKind;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool needsQuotes(std::string_view text) {
  if (text.empty()) return true;
  if (isBlank(text.front()) || isBlank(text.back())) return true;
  for (char c : text)
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  return false;
}

}  // namespace

std::string CsvTypeName(const analysis::Column& column) {
  if (column.type == records::kTypeAttachment) return "UNKNOWN-DATATYPE";
  std::string name = records::GetTypeName(column);
  if (name.rfind("UNKNOWN-DATATYPE", 0) == 0) return "UNKNOWN-DATATYPE";
  return name;
}

void AppendCsvText(std::string_view text, std::string& line) {
  if (!needsQuotes(text)) {
    line += text;
    return;
  }
  line += '"';
  for (size_t from = 0;;) {
    const size_t quote = text.find('"', from);
    line += text.substr(from, quote == std::string_view::npos ? std::string_view::npos : quote + 1 - from);
    if (quote == std::string_view::npos) break;
    line += '"';  // the quote doubled
    from = quote + 1;
  }
  line += '"';
}

void AppendCsvValue(const analysis::Column& column, const support::Value& value, std::string& line) {
  if (!records::HasValueForm(column.type) && column.type != records::kTypeBit && !value.isNull()) {
    AppendCsvText(records::ValueText(column, value), line);  // the type name: nothing to decode
    return;
  }
  switch (value.kind) {
    case ValueKind::kNull: break;
    case ValueKind::kBoolean: line += value.integer != 0 ? "Yes" : "No"; break;
    case ValueKind::kText: AppendCsvText(value.text, line); break;
    case ValueKind::kBinary:
    case ValueKind::kLongBinary:
      if (value.bytes.empty())
        line += "\"\"";  // empty, not null
      else
        records::AppendHexText(value.bytes.data(), value.bytes.size(), line);
      break;
    case ValueKind::kList:
    case ValueKind::kAttachments: AppendCsvText(records::ValueText(column, value), line); break;
    default: records::AppendLosslessText(column, value, line); break;  // numbers and dates: nothing to quote
  }
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    AppendCsvText(fields[i], line);
  }
  line += '\n';
  return line;
}

std::string CsvSchemaLine(const analysis::Column& column) {
  std::string line;
  AppendCsvText(column.name, line);
  return line + "," + CsvTypeName(column) + ",\n";
}

}  // namespace exporter
