// Assembling a saved query's SQL text from its pieces, for every kind of query. The clause
// words and their spacing are the ones the viewer has always shown ("SELECT Orders.ID  FROM
// [Orders] Where Orders.ID>5;"); the statement itself is the one Access holds for the query.
#pragma once

#include <string>
#include <vector>

#include "queries/query_parts.h"
#include "queries/query_row.h"

namespace queries {

std::string AssembleQuerySql(const QueryParts& parts);
std::string AssembleQuerySql(const std::vector<QueryRow>& rows);

// The SQL name of a parameter's data type code ("Text" for 10, "Long" for 4, ...).
std::string ParameterTypeName(int typeCode);

}  // namespace queries
