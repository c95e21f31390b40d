// Statement assembly by query kind.
#include "queries/query_assembly.h"

#include "queries/query_from_clause.h"

namespace queries {

namespace {

bool hasBits(int flag, int bits) {
  return flag > 0 && (flag & bits) != 0;
}

// Adds a clause after a blank, unless the text already ends in one.
void appendClause(std::string& sql, const std::string& clause) {
  if (!sql.empty() && sql.back() != ' ') sql += ' ';
  sql += clause;
}

// "Expression " for each column, separated by ",", each followed by "As [alias]" when it has one.
std::string columnList(const std::vector<const QueryColumn*>& columns, bool allColumns) {
  std::string text = allColumns ? "* " : "";
  bool first = !allColumns;
  for (const QueryColumn* column : columns) {
    text += (first ? "" : ",") + column->expression + " ";
    first = false;
    if (!column->alias.empty()) text += "As [" + column->alias + "]";
  }
  return text;
}

std::string predicate(const QueryParts& parts) {
  std::string text;
  if (parts.options & kOptionDistinct) text += "DISTINCT ";
  if (parts.options & kOptionDistinctRow) text += "DISTINCTROW ";
  if (parts.options & kOptionTop) {
    text += "TOP " + parts.topValue + " ";
    if (parts.options & kOptionPercent) text += "PERCENT ";
  }
  return text;
}

std::string parametersText(const QueryParts& parts) {
  if (parts.parameters.empty()) return "";
  std::string text = "PARAMETERS ";
  for (size_t i = 0; i < parts.parameters.size(); ++i)
    text += (i ? ", [" : "[") + parts.parameters[i].name + "] " + ParameterTypeName(parts.parameters[i].type);
  return text + "; ";
}

std::string fromList(const QueryParts& parts) {
  return BuildFromList(parts.tables, parts.joins);
}

std::string groupByText(const std::vector<const QueryColumn*>& keys) {
  if (keys.empty()) return "";
  std::string text = "Group By ";
  for (size_t i = 0; i < keys.size(); ++i) text += (i ? "," : "") + keys[i]->expression + " ";
  return text;
}

std::string orderByText(const QueryParts& parts) {
  if (parts.orderBy.empty()) return "";
  std::string text = "Order By ";
  for (size_t i = 0; i < parts.orderBy.size(); ++i) {
    text += (i ? "," : "") + parts.orderBy[i].expression;
    if (parts.orderBy[i].descending) text += " DESC";
  }
  return text;
}

// The trailing options and the semicolon.
std::string finish(const QueryParts& parts, std::string sql) {
  if (parts.options & kOptionOwnerAccess) appendClause(sql, "WITH OWNERACCESS OPTION");
  return sql + ";";
}

// SELECT [predicate] columns [INTO target] FROM ... Where ... Group By ... Having ... Order By ...
std::string selection(const QueryParts& parts, const std::vector<const QueryColumn*>& columns,
                      const std::vector<const QueryColumn*>& groupKeys, const std::string& into) {
  std::string sql = "SELECT " + predicate(parts) + columnList(columns, parts.options & kOptionAllColumns);
  if (!into.empty()) appendClause(sql, into);
  sql += " FROM " + fromList(parts);
  if (parts.hasWhere) sql += "Where " + parts.where;
  sql += groupByText(groupKeys);
  if (parts.hasHaving) appendClause(sql, "Having " + parts.having);
  sql += orderByText(parts);
  return sql;
}

std::vector<const QueryColumn*> allOf(const std::vector<QueryColumn>& columns) {
  std::vector<const QueryColumn*> all;
  for (const auto& column : columns) all.push_back(&column);
  return all;
}

std::vector<const QueryColumn*> groupByKeys(const QueryParts& parts) {
  std::vector<const QueryColumn*> keys;
  for (const auto& key : parts.groupBy)
    if (key.flag == 0) keys.push_back(&key);
  return keys;
}

std::string appendQuery(const QueryParts& parts) {
  std::string sql = "INSERT INTO [" + parts.kindName + "]";
  if (parts.columns.empty() && parts.tables.empty() && !(parts.options & kOptionAllColumns)) return sql;
  std::string targets, values;
  bool asValues = false;
  for (const auto& column : parts.columns) {
    if (!column.target.empty()) targets += (targets.empty() ? "" : ",") + column.target;
    values += (values.empty() ? "" : ",") + column.expression;
    if (column.flag == -1 || (column.flag & kAppendValue)) asValues = true;  // a null Flag too
  }
  if (!targets.empty()) sql += "(" + targets + ") ";
  if (asValues) return sql + " VALUES(" + values + ");";
  appendClause(sql, selection(parts, allOf(parts.columns), groupByKeys(parts), ""));
  return finish(parts, sql);
}

std::string updateQuery(const QueryParts& parts) {
  std::string sql = "Update " + predicate(parts) + fromList(parts) + "SET ";
  for (size_t i = 0; i < parts.columns.size(); ++i)
    sql += (i ? "," : "") + parts.columns[i].target + "=" + parts.columns[i].expression;
  if (parts.hasWhere) sql += " Where " + parts.where;
  return finish(parts, sql);
}

std::string deleteQuery(const QueryParts& parts) {
  std::string sql = "Delete " + predicate(parts) + columnList(allOf(parts.columns), parts.options & kOptionAllColumns);
  sql += " FROM " + fromList(parts);
  if (parts.hasWhere) sql += " Where " + parts.where;
  return finish(parts, sql);
}

// TRANSFORM value SELECT row headings FROM ... Group By row headings ... PIVOT column heading
std::string crosstabQuery(const QueryParts& parts) {
  std::vector<const QueryColumn*> values, headings, keys;
  std::string pivot, pivotColumn;
  for (const auto& column : parts.columns) {
    if (hasBits(column.flag, kCrosstabRowHeading))
      headings.push_back(&column);
    else if (hasBits(column.flag, kCrosstabPivot))
      pivotColumn = column.expression;
    else
      values.push_back(&column);
  }
  for (const auto& key : parts.groupBy) {
    if (key.flag == 0 || hasBits(key.flag, kCrosstabRowHeading))
      keys.push_back(&key);
    else if (hasBits(key.flag, kCrosstabPivot) && pivot.empty())
      pivot = key.expression;
  }
  if (pivot.empty()) pivot = pivotColumn;
  std::string sql = "TRANSFORM " + columnList(values, false);
  appendClause(sql, selection(parts, headings, keys, ""));
  if (!pivot.empty()) appendClause(sql, "PIVOT " + pivot);
  return finish(parts, sql);
}

std::string unionQuery(const QueryParts& parts) {
  std::string first, second;
  for (const auto& table : parts.tables) {
    if (table.alias == kUnionFirstPart) first = table.expression;
    if (table.alias == kUnionSecondPart) second = table.expression;
  }
  std::string sql = first.empty() ? second : first;
  if (!first.empty() && !second.empty()) {
    appendClause(sql, (parts.options & kOptionDistinct) ? "UNION " : "UNION ALL ");
    sql += second;
  }
  const std::string order = orderByText(parts);
  if (!order.empty()) appendClause(sql, order);
  return finish(parts, sql);
}

}  // namespace

std::string ParameterTypeName(int typeCode) {
  switch (typeCode) {
    case 1: return "Bit";
    case 2: return "Byte";
    case 3: return "Short";
    case 4: return "Long";
    case 5: return "Currency";
    case 6: return "IEEESingle";
    case 7: return "IEEEDouble";
    case 8: return "DateTime";
    case 9: return "Binary";
    case 10: return "Text";
    case 11: return "LongBinary";
    case 12: return "Memo";
    case 15: return "Guid";
    case 16: return "BigInt";
    case 20: return "Decimal";
    default: return "Value";
  }
}

std::string AssembleQuerySql(const QueryParts& parts) {
  switch (parts.kind) {
    case kKindDataDefinition:
    case kKindPassThrough: return parts.statement;  // the stored statement is the query
    case kKindAppend: return parametersText(parts) + appendQuery(parts);
    case kKindUpdate: return parametersText(parts) + updateQuery(parts);
    case kKindDelete: return parametersText(parts) + deleteQuery(parts);
    case kKindCrosstab: return parametersText(parts) + crosstabQuery(parts);
    case kKindUnion: return parametersText(parts) + unionQuery(parts);
    case kKindMakeTable:
      return parametersText(parts) +
             finish(parts, selection(parts, allOf(parts.columns), groupByKeys(parts), "INTO [" + parts.kindName + "]"));
    default:
      return parametersText(parts) + finish(parts, selection(parts, allOf(parts.columns), groupByKeys(parts), ""));
  }
}

std::string AssembleQuerySql(const std::vector<QueryRow>& rows) {
  return AssembleQuerySql(CollectQueryParts(rows));
}

}  // namespace queries
