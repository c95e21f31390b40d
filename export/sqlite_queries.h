// The saved queries in the SQLite target: every query a row of the table "access_queries"
// (name, kind, sql, reason), and the SELECT queries whose SQL SQLite accepts after the usual
// rewrites also a view of the same name.
#pragma once

#include <string>
#include <vector>

#include "analysis/model.h"
#include "export/sqlite_file.h"

namespace exporter {

// "select", "union", "make-table", "crosstab", "append", "update", "delete", "parameters", "ddl"
// or "other", from the statement's leading keywords.
std::string SqliteQueryKind(const std::string& sql);

// The query's SQL as SQLite reads it: [names] and "names" outside strings as "identifiers",
// string literals in single quotes, & as ||, True and False as 1 and 0, DISTINCTROW as ALL,
// #m/d/yyyy[ h:mm:ss]# literals as 'yyyy-mm-dd[ hh:mm:ss]', the closing semicolon dropped. Text
// inside strings is left alone.
std::string SqliteQueryText(const std::string& sql);

// The reason given for a SELECT that reads a control of a form or report (Forms!f!c).
constexpr const char* kFormReferenceReason =
    "refers to a form or report control (Forms!...), which only Access resolves";

struct SqliteQueriesOutcome {
  size_t selects = 0;   // SELECT queries (kinds select and union)
  size_t views = 0;     // of them, the ones that became views that run
  bool written = true;  // false when access_queries could not be written
};

// Writes access_queries and the views. A view is kept only when selecting from it works; queries
// over other queries are retried until no more views can be made.
SqliteQueriesOutcome ExportQueriesToSqlite(const std::vector<analysis::Queries*>& queries, SqliteFile& file);

}  // namespace exporter
