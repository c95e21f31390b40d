// The CREATE TABLE statement of every table found, with its columns in column-number order.
#pragma once

#include <string>

#include "analysis/model.h"

namespace exporter {

// How TEXT(n) gives a text column's size: the byte length as the definition stores it (the
// statement every table carries), or in characters, as a new database needs it.
enum class TextSize { kBytes, kCharacters };

// "CREATE TABLE [name] \r\n(" then one "\r\n\t[column] TYPE" entry per column joined by ", ",
// then "\r\n);". Only TEXT has a size; NUMERIC keeps its precision and scale.
std::string CreateTableStatement(const analysis::Table& table, TextSize textSize);

// Sorts the columns of every table in analysis::g_tables by column number, ascending.
void SortTableColumns();
// Builds and stores the createStatement of every table in analysis::g_tables (byte sizes).
void BuildSchemaStatements();

}  // namespace exporter
