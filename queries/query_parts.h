// The pieces of one saved query, gathered from its rows by Attribute. Rows of one Attribute
// keep their row order; the assembly (query_assembly.h) decides where each piece goes.
#pragma once

#include <string>
#include <vector>

#include "queries/query_row.h"

namespace queries {

struct QueryTable {
  std::string name;        // Name1
  std::string alias;       // Name2
  std::string expression;  // a union part or a subquery
};

struct QueryColumn {
  std::string expression;
  std::string alias;   // Name1
  std::string target;  // Name2: the column an update or append sets
  int flag = -1;
};

enum JoinType : int { kJoinInner = 1, kJoinLeft = 2, kJoinRight = 3 };

// All join rows between one pair of tables.
struct QueryJoin {
  std::string left;  // as the first row names them
  std::string right;
  int type = kJoinInner;
  std::vector<std::string> conditions;  // in row order
};

struct QueryParameter {
  std::string name;
  int type = -1;
};

struct QuerySortKey {
  std::string expression;
  bool descending = false;
};

struct QueryParts {
  int kind = kKindSelect;
  bool hasKindRow = false;
  std::string kindName;   // Attribute 1 Name1: target table (make-table, append), connect string
  std::string statement;  // Attribute 1 Expression: the text of a data-definition or pass-through query
  int options = 0;        // Attribute 3 bits
  std::string topValue;   // Attribute 3 Name1
  std::vector<QueryParameter> parameters;
  std::vector<QueryTable> tables;
  std::vector<QueryColumn> columns;
  std::vector<QueryJoin> joins;
  std::string where;  // the last Attribute 8 row's
  bool hasWhere = false;
  std::vector<QueryColumn> groupBy;  // Attribute 9, with its Flag
  std::string having;
  bool hasHaving = false;
  std::vector<QuerySortKey> orderBy;
};

// A stored Expression ends at its first NUL character.
std::string StoredExpression(const std::string& expression);

QueryParts CollectQueryParts(const std::vector<QueryRow>& rows);

}  // namespace queries
