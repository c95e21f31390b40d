// How a table's schema and values become CSV text (RFC 4180): fields separated by ",", a field
// quoted when it holds a comma, a double quote, a line break or a blank at either end, quotes
// doubled, line breaks kept inside the quotes, UTF-8, lines ended by "\n". Values are written
// from their typed form so that a CSV reader gets back exactly what the file holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/model.h"
#include "support/value.h"

namespace exporter {

// The schema form's type name of a column ("BIT" ... "GUID", "COUNTER", "UNKNOWN-DATATYPE").
std::string CsvTypeName(const analysis::Column& column);

// Appends text as one field, quoted where needed; an empty text is written "" (an empty
// unquoted field is a null).
void AppendCsvText(std::string_view text, std::string& line);

// Appends one value's field: a null as nothing; BIT as Yes or No; integers, currency, NUMERIC,
// GUIDs and dates in their display forms (a date with its fraction of a second where it has
// one); SINGLE and DOUBLE as the shortest text that reads back as the same number; binary and
// OLE values as the lower-case hexadecimal of their stored bytes; texts as they are.
void AppendCsvValue(const analysis::Column& column, const support::Value& value, std::string& line);

// Each field quoted where needed, joined by ",", ended by "\n" (the header line).
std::string CsvLine(const std::vector<std::string>& fields);

// "<name>,<type>,\n" for the schema form.
std::string CsvSchemaLine(const analysis::Column& column);

}  // namespace exporter
