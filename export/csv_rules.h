// How a table's schema and values become CSV text: the field cleaning, the type names of the
// schema form, the written form of each value by column type, and RFC 4180 quoting.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/model.h"

namespace exporter {

// Trims white space at both ends; line feeds, carriage returns and double quotes become ";",
// a backslash becomes two, an apostrophe becomes a backquote. A value then never breaks a line.
void CleanFieldText(std::string& text);

// The schema form's type name of a column ("BIT" ... "GUID", "COUNTER", "UNKNOWN-DATATYPE").
std::string CsvTypeName(const analysis::Column& column);

// Places an OLE object's file (its path as decoded) among the export's objects and gives the
// path to write, relative to the export folder; empty when it could not be placed.
using ObjectPlacer = std::function<std::string(const std::string& objectFile)>;

// The text a data line holds for one column's decoded value: "NULL" gives nothing, BIT gives
// "Yes"/"No", BINARY a blank, an OLE object "?{file '<path>'}"; every other value as cleaned.
std::string CsvValueText(const analysis::Column& column, const std::string& decoded, const ObjectPlacer& placeObject);

// A field between double quotes (inner quotes doubled) when it holds a comma, a quote or a line break.
std::string CsvQuoted(const std::string& field);

// Fields joined by ", ", each quoted where needed, ended by "\n".
std::string CsvLine(const std::vector<std::string>& fields);

// "<name>,<type>,\n" for the schema form.
std::string CsvSchemaLine(const analysis::Column& column);

}  // namespace exporter
