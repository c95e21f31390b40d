// One row of a saved query's definition in the catalog's query table: one piece of the query
// (its kind, a table, an output column, a join, the condition, a grouping, a sort key), told
// by its Attribute, its Flag and up to three texts.
#pragma once

#include <string>

namespace queries {

// Attribute codes.
enum QueryAttribute : int {
  kAttributeKind = 1,       // Flag: the query kind (QueryKind); Name1 the target table or connect string
  kAttributeParameter = 2,  // Name1 the parameter, Flag its data type code
  kAttributeOptions = 3,    // Flag: QueryOption bits; Name1 the TOP value
  kAttributeTable = 5,      // Name1 the table, Name2 its alias; Expression a union part or a subquery
  kAttributeColumn = 6,     // Expression; Name1 its alias, Name2 the column it sets (update, append)
  kAttributeJoin = 7,       // Name1 JOIN Name2 ON Expression; Flag 1 inner, 2 left, 3 right
  kAttributeWhere = 8,
  kAttributeGroupBy = 9,
  kAttributeHaving = 10,
  kAttributeOrderBy = 11,  // Name1 "D" for a descending key
};

// Attribute 1's Flag.
enum QueryKind : int {
  kKindSelect = 1,
  kKindMakeTable = 2,
  kKindAppend = 3,
  kKindUpdate = 4,
  kKindDelete = 5,
  kKindCrosstab = 6,
  kKindDataDefinition = 7,
  kKindPassThrough = 8,
  kKindUnion = 9,
};

// Attribute 3's Flag, a bit set.
enum QueryOption : int {
  kOptionAllColumns = 0x01,
  kOptionDistinct = 0x02,
  kOptionOwnerAccess = 0x04,
  kOptionDistinctRow = 0x08,
  kOptionTop = 0x10,
  kOptionPercent = 0x20,
};

// Attribute 6 and 9 Flags of a crosstab, and Attribute 6's Flag of an append value.
constexpr int kCrosstabPivot = 0x01;
constexpr int kCrosstabRowHeading = 0x02;
constexpr int kAppendValue = 0x8000;

// The two Attribute 5 rows whose Expressions are the halves of a union.
constexpr const char* kUnionFirstPart = "X7YZ_____1";
constexpr const char* kUnionSecondPart = "X7YZ_____2";

// A row as read back; a null number is -1 (ObjectId 0), a null text empty.
struct QueryRow {
  int objectId = 0;
  int attribute = -1;
  int order = -1;
  int flag = -1;
  std::string name1;
  std::string name2;
  std::string expression;
  std::string lvExtra;
};

}  // namespace queries
