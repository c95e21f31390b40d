// How a column and its typed values go into SQLite: declared types that keep every value exact,
// and values bound by kind (never through their display texts).
#pragma once

#include <string>
#include <vector>

#include "analysis/model.h"
#include "support/value.h"

struct sqlite3_stmt;

namespace exporter {

// INTEGER for the integer types (BIT, BYTE, INT, LONG, large numbers), REAL for SINGLE and
// DOUBLE, DATETIME for dates, TEXT for texts, memos and GUIDs, BLOB for binary and OLE columns.
// Currency and NUMERIC are "DECIMAL TEXT(p,s)": decimal for the reader, while the TEXT in the
// name gives the column text affinity, so that their exact decimal texts are never turned into
// floating point numbers on insertion. Types of no name declare nothing.
std::string SqliteDeclaredType(const analysis::Column& column);

// A day count since 30 December 1899 as "YYYY-MM-DD hh:mm:ss" with the fraction of a second
// where it has one; empty outside the years 1 to 9999.
std::string SqliteDateText(double days);
// 100-nanosecond ticks since 0001-01-01 the same way; empty outside the calendar.
std::string SqliteExtendedDateText(int64_t ticks);

// Binds a text as TEXT, and bytes as a BLOB (an empty one stays an empty BLOB, never NULL);
// parameter index is 1-based. The sqlite3 status.
int BindSqliteText(sqlite3_stmt* statement, int index, const std::string& text);
int BindSqliteBlob(sqlite3_stmt* statement, int index, const std::vector<uint8_t>& bytes);

// Binds value to parameter index (1-based): null as NULL, integers as INTEGER, SINGLE and DOUBLE
// as REAL (the stored number exactly), currency and NUMERIC as exact decimal TEXT, dates as their
// text (a day count outside the calendar as its REAL), texts as TEXT, binary and OLE values as a
// BLOB of their stored bytes, GUIDs in registry form; lists and attachments as their display
// text. The sqlite3 status.
int BindSqliteValue(sqlite3_stmt* statement, int index, const analysis::Column& column, const support::Value& value);

}  // namespace exporter
