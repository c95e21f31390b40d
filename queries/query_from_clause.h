// The table part of a rebuilt query: the tables of its Attribute 5 rows and its joins.
#pragma once

#include <string>
#include <vector>

#include "queries/query_parts.h"

namespace queries {

// Each item of the FROM list followed by a blank, items separated by ",": "[Orders] ",
// "[Table3] ,[Table1] INNER JOIN [Table2] ON ... ". Joins nest in row order with parentheses,
// "([A] LEFT JOIN [B] ON c1) INNER JOIN [C] ON (c3) AND (c2)"; a joined table is not listed
// again; an alias reads "[Table2] As [Table2_1]" wherever the table is named. Empty when there
// is neither a table nor a join.
std::string BuildFromList(const std::vector<QueryTable>& tables, const std::vector<QueryJoin>& joins);

}  // namespace queries
