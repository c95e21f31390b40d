// Gathering a query's rows by Attribute.
#include "queries/query_parts.h"

#include <iterator>

namespace queries {

namespace {

// When damage leaves several kind rows, the first kind in this order wins: action queries
// before a statement, a statement before any selection.
int kindRank(int kind) {
  static constexpr int kOrder[] = {kKindAppend, kKindUpdate,   kKindDelete,    kKindDataDefinition, kKindPassThrough,
                                   kKindUnion,  kKindCrosstab, kKindMakeTable, kKindSelect};
  for (int rank = 0; rank < static_cast<int>(std::size(kOrder)); ++rank)
    if (kOrder[rank] == kind) return rank;
  return static_cast<int>(std::size(kOrder));
}

void addJoin(QueryParts& parts, const QueryRow& row) {
  if (row.flag < kJoinInner || row.flag > kJoinRight) return;
  const std::string condition = StoredExpression(row.expression);
  for (auto& join : parts.joins) {
    const bool samePair =
        (join.left == row.name1 && join.right == row.name2) || (join.left == row.name2 && join.right == row.name1);
    if (samePair) {
      join.conditions.push_back(condition);
      return;
    }
  }
  parts.joins.push_back(QueryJoin{row.name1, row.name2, row.flag, {condition}});
}

}  // namespace

std::string StoredExpression(const std::string& expression) {
  const size_t nul = expression.find('\0');
  return nul == std::string::npos ? expression : expression.substr(0, nul);
}

QueryParts CollectQueryParts(const std::vector<QueryRow>& rows) {
  QueryParts parts;
  for (const QueryRow& row : rows) {
    const std::string expression = StoredExpression(row.expression);
    switch (row.attribute) {
      case kAttributeKind:
        if (!parts.hasKindRow || kindRank(row.flag) < kindRank(parts.kind)) {
          parts.kind = row.flag;
          parts.kindName = row.name1;
          parts.statement = expression;
          parts.hasKindRow = true;
        }
        break;
      case kAttributeParameter: parts.parameters.push_back(QueryParameter{row.name1, row.flag}); break;
      case kAttributeOptions:
        parts.options = row.flag < 0 ? 0 : row.flag;  // a null Flag sets no bit
        parts.topValue = row.name1;
        break;
      case kAttributeTable:
        if (!row.name1.empty() || !row.name2.empty() || !expression.empty())
          parts.tables.push_back(QueryTable{row.name1, row.name2, expression});
        break;
      case kAttributeColumn: parts.columns.push_back(QueryColumn{expression, row.name1, row.name2, row.flag}); break;
      case kAttributeJoin: addJoin(parts, row); break;
      case kAttributeWhere:
        parts.where = expression;
        parts.hasWhere = true;
        break;
      case kAttributeGroupBy: parts.groupBy.push_back(QueryColumn{expression, row.name1, row.name2, row.flag}); break;
      case kAttributeHaving:
        parts.having = expression;
        parts.hasHaving = true;
        break;
      case kAttributeOrderBy:
        parts.orderBy.push_back(QuerySortKey{expression, row.name1 == "D" || row.name1 == "d"});
        break;
      default: break;  // 0, 4, 255 and unknown Attributes carry nothing for the SQL text
    }
  }
  return parts;
}

}  // namespace queries
