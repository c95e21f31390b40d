// Saved queries into the SQLite target.
#include "export/sqlite_queries.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <memory>

#include "export/sqlite_insert.h"

namespace exporter {

namespace {

std::string upper(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// The words of the statement outside brackets and strings, upper-cased.
std::vector<std::string> keywords(const std::string& sql) {
  std::vector<std::string> words;
  for (size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    if (c == '[' || c == '"' || c == '\'') {
      const char close = c == '[' ? ']' : c;
      const size_t end = sql.find(close, i + 1);
      i = end == std::string::npos ? sql.size() : end + 1;
    } else if (isWordChar(c)) {
      size_t end = i;
      while (end < sql.size() && isWordChar(sql[end])) ++end;
      words.push_back(upper(sql.substr(i, end - i)));
      i = end;
    } else {
      ++i;
    }
  }
  return words;
}

bool contains(const std::vector<std::string>& words, const char* word) {
  for (const auto& w : words)
    if (w == word) return true;
  return false;
}

// "#1/31/2020 10:00:00#" (month first) as "'2020-01-31 10:00:00'"; empty when it is no date.
std::string dateLiteral(const std::string& inner) {
  int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  char rest[8] = {};
  const int parts =
      std::sscanf(inner.c_str(), "%d/%d/%d %d:%d:%d%7s", &month, &day, &year, &hour, &minute, &second, rest);
  if (parts < 3 || month < 1 || month > 12 || day < 1 || day > 31 || year < 0) return {};
  if (year < 100) year += year < 30 ? 2000 : 1900;
  char out[40];
  if (parts >= 5)
    std::snprintf(out, sizeof out, "'%04d-%02d-%02d %02d:%02d:%02d'", year, month, day, hour, minute, second);
  else
    std::snprintf(out, sizeof out, "'%04d-%02d-%02d'", year, month, day);
  return out;
}

void appendQuoted(std::string& out, const std::string& text, char quote) {
  out += quote;
  for (char c : text) {
    out += c;
    if (c == quote) out += quote;
  }
  out += quote;
}

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Empty when the view can be selected from, else SQLite's message.
std::string viewError(SqliteFile& file, const std::string& name) {
  sqlite3_stmt* raw = nullptr;
  const std::string sql = "SELECT * FROM " + SqliteQuoted(name) + " LIMIT 1";
  const int prepared = sqlite3_prepare_v2(file.handle(), sql.c_str(), -1, &raw, nullptr);
  Statement select(raw);
  if (prepared != SQLITE_OK) return sqlite3_errmsg(file.handle());
  const int stepped = sqlite3_step(select.get());
  if (stepped != SQLITE_ROW && stepped != SQLITE_DONE) return sqlite3_errmsg(file.handle());
  return {};
}

// True when the rewritten text uses "!" outside identifiers and strings: Forms!f!c and the like
// name a control of an open form, which only Access can resolve.
bool refersToForms(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const size_t end = text.find(c, i + 1);
      if (end == std::string::npos) return false;
      i = end;  // a doubled quote reopens at the next character: still inside
    } else if (c == '!' && (i + 1 >= text.size() || text[i + 1] != '=')) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string SqliteQueryKind(const std::string& sql) {
  const std::vector<std::string> words = keywords(sql);
  if (words.empty()) return "other";
  const std::string& first = words[0];
  if (first == "SELECT") {
    if (contains(words, "UNION")) return "union";
    // SELECT ... INTO target FROM: a make-table query.
    for (size_t i = 1; i < words.size() && words[i] != "FROM"; ++i)
      if (words[i] == "INTO") return "make-table";
    return "select";
  }
  if (first == "TRANSFORM") return "crosstab";
  if (first == "INSERT") return "append";
  if (first == "UPDATE") return "update";
  if (first == "DELETE") return "delete";
  if (first == "PARAMETERS") return "parameters";
  if (first == "CREATE" || first == "ALTER" || first == "DROP") return "ddl";
  return "other";
}

std::string SqliteQueryText(const std::string& sql) {
  std::string out;
  for (size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    if (c == '[' || c == '"' || c == '\'' || c == '#') {
      const char close = c == '[' ? ']' : c;
      size_t end = sql.find(close, i + 1);
      // A quote inside a string is written twice.
      while (c != '[' && c != '#' && end != std::string::npos && end + 1 < sql.size() && sql[end + 1] == close)
        end = sql.find(close, end + 2);
      if (end == std::string::npos) {
        out += sql.substr(i);
        break;
      }
      std::string inner = sql.substr(i + 1, end - i - 1);
      if (c == '[') {
        appendQuoted(out, inner, '"');
      } else if (c == '#') {
        const std::string date = dateLiteral(inner);
        if (date.empty()) {
          out += c;  // no date: the # stays (an operator or part of a name)
          i += 1;
          continue;
        }
        out += date;
      } else {
        // Access reads "..." as a string like '...'.
        std::string text;
        for (size_t k = 0; k < inner.size(); ++k) {
          text += inner[k];
          if (inner[k] == close && k + 1 < inner.size() && inner[k + 1] == close) ++k;
        }
        appendQuoted(out, text, '\'');
      }
      i = end + 1;
    } else if (c == '&') {
      out += "||";
      ++i;
    } else if (isWordChar(c)) {
      size_t end = i;
      while (end < sql.size() && isWordChar(sql[end])) ++end;
      const std::string word = sql.substr(i, end - i);
      const std::string key = upper(word);
      const bool qualified = i > 0 && sql[i - 1] == '.';
      if (!qualified && key == "TRUE")
        out += "1";
      else if (!qualified && key == "DISTINCTROW")
        out += "ALL";  // Access ignores it over a single table; DISTINCT would drop rows it keeps
      else if (!qualified && key == "FALSE")
        out += "0";
      else
        out += word;
      i = end;
    } else {
      out += c;
      ++i;
    }
  }
  while (!out.empty() && (out.back() == ';' || std::isspace(static_cast<unsigned char>(out.back())))) out.pop_back();
  return out;
}

SqliteQueriesOutcome ExportQueriesToSqlite(const std::vector<analysis::Queries*>& queries, SqliteFile& file) {
  SqliteQueriesOutcome outcome;
  struct Entry {
    const analysis::Queries* query;
    std::string kind, reason;
    bool pending = false;
  };
  std::vector<Entry> entries;
  for (const analysis::Queries* query : queries) {
    if (!query || query->name.empty()) continue;
    Entry entry{query, SqliteQueryKind(query->sqlText), {}, false};
    if (entry.kind == "select" || entry.kind == "union") {
      ++outcome.selects;
      entry.pending = true;
    } else {
      entry.reason = "not a SELECT query (" + entry.kind + ")";
    }
    entries.push_back(entry);
  }
  // A name in double quotes that names nothing must fail the view, not turn into a string.
  sqlite3_db_config(file.handle(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(file.handle(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  // Views over views: each pass makes the views whose sources exist by now.
  for (bool progress = true; progress;) {
    progress = false;
    for (auto& entry : entries) {
      if (!entry.pending) continue;
      const std::string name = SqliteQuoted(entry.query->name);
      const std::string text = SqliteQueryText(entry.query->sqlText);
      if (refersToForms(text)) {
        entry.reason = kFormReferenceReason;
        entry.pending = false;
        continue;
      }
      if (!file.execute("CREATE VIEW " + name + " AS " + text)) {
        entry.reason = file.error();
        continue;
      }
      const std::string error = viewError(file, entry.query->name);
      if (!error.empty()) {
        entry.reason = error;
        file.execute("DROP VIEW " + name);
        continue;
      }
      entry.pending = false;
      entry.reason.clear();
      ++outcome.views;
      progress = true;
    }
  }

  if (!file.execute("CREATE TABLE access_queries (name TEXT, kind TEXT, sql TEXT, reason TEXT)")) {
    outcome.written = false;
    return outcome;
  }
  SqliteInsert insert;
  if (!insert.prepare(file, "access_queries", 4)) {
    outcome.written = false;
    return outcome;
  }
  file.execute("BEGIN");
  for (const auto& entry : entries) {
    insert.bindText(1, entry.query->name);
    insert.bindText(2, entry.kind);
    insert.bindText(3, entry.query->sqlText);
    if (!entry.reason.empty()) insert.bindText(4, entry.reason);  // unbound: NULL, the query is a view
    if (insert.step() != SQLITE_DONE) outcome.written = false;
  }
  if (!file.execute("COMMIT")) outcome.written = false;
  return outcome;
}

}  // namespace exporter
