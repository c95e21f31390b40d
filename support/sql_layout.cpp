// LaidOutSql.
#include "support/sql_layout.h"

#include <array>
#include <cctype>
#include <string_view>

namespace support {

namespace {
// Longer words first, so "UNION ALL" is not taken for "UNION" followed by text.
constexpr std::array<std::string_view, 13> kClauses = {"GROUP BY", "ORDER BY", "UNION ALL", "TRANSFORM", "SELECT",
                                                       "HAVING",   "VALUES",   "WHERE",     "UNION",     "PIVOT",
                                                       "FROM",     "INTO",     "SET"};

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The clause word that starts at position, standing as a word of its own, or empty.
std::string_view clauseAt(const std::string& sql, size_t position) {
  if (position > 0 && isWordChar(sql[position - 1])) return {};
  for (std::string_view clause : kClauses) {
    if (sql.size() - position < clause.size()) continue;
    bool same = true;
    for (size_t i = 0; i < clause.size() && same; ++i)
      same = std::toupper(static_cast<unsigned char>(sql[position + i])) == clause[i];
    const size_t end = position + clause.size();
    if (same && (end == sql.size() || !isWordChar(sql[end]))) return clause;
  }
  return {};
}

// INTO breaks a line only in "SELECT ... INTO", not in "INSERT INTO".
bool followsInsert(const std::string& laidOut) {
  size_t end = laidOut.find_last_not_of(" \t\r\n");
  if (end == std::string::npos || end < 5) return false;
  std::string word;
  for (size_t i = end - 5; i <= end; ++i)
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(laidOut[i])));
  return word == "INSERT" && (end < 6 || !isWordChar(laidOut[end - 6]));
}
}  // namespace

std::string LaidOutSql(const std::string& sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  char quote = 0;  // the quote or bracket being read through, else 0
  int depth = 0;   // parentheses
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      out += c;
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') quote = c;
    if (c == '[') quote = ']';
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (!quote && depth == 0 && !out.empty()) {
      const std::string_view clause = clauseAt(sql, i);
      if (!clause.empty() && !(clause == "INTO" && followsInsert(out))) {
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
        if (!out.empty() && out.back() != '\n') out += '\n';
        out.append(sql, i, clause.size());
        i += clause.size() - 1;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace support
