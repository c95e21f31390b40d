// SQL laid out for reading: a line break before each main clause of a statement (SELECT, FROM,
// WHERE, GROUP BY, HAVING, ORDER BY, UNION, ...). Display only: what is exported or run stays
// the text as it was rebuilt.
#pragma once

#include <string>

namespace support {

// Breaks only at clause words that stand outside quotes, brackets and parentheses, so the
// text of literals, bracketed names and subqueries is left as it is.
std::string LaidOutSql(const std::string& sql);

}  // namespace support
