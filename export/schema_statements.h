// The CREATE TABLE statement of every table found, with its columns in column-number order.
#pragma once

#include <string>

#include "analysis/model.h"

namespace exporter {

// Which statement: kAsStored, the one every table carries (TEXT(n) with the byte length the
// definition stores, at most 255, COUNTER for a LONG of column number 0), or kForNewDatabase, the one that
// creates the table in a new database (TEXT(n) in characters, COUNTER only for the column the
// definition flags as autonumber, so a NULL of another LONG column stays NULL).
enum class StatementForm { kAsStored, kForNewDatabase };

// "CREATE TABLE [name] \r\n(" then one "\r\n\t[column] TYPE" entry per column joined by ", ",
// then "\r\n);". Names are bracketed with every "]" doubled, so any name stays one name. Only
// TEXT has a size; NUMERIC keeps its precision and scale.
std::string CreateTableStatement(const analysis::Table& table, StatementForm form);

// Sorts the columns of every table in analysis::g_tables by column number, ascending.
void SortTableColumns();
// Builds and stores the createStatement of every table in analysis::g_tables (byte sizes).
void BuildSchemaStatements();

}  // namespace exporter
