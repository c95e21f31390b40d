// Rows from a damaged catalog: any mix of Attributes, Flags and texts assembles to a bounded
// text without a crash.
#include "queries/query_assembly.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(AssembleQuerySql, AnyRowsGiveABoundedText) {
  std::mt19937 random(20260309);
  const std::vector<std::string> names = {"", "A", "B", "C", "A", "X7YZ_____1", "X7YZ_____2", "D", "]", "a b"};
  const std::vector<int> flags = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x11, 0x31, 0x8000, -32768, 0x7fffffff};
  for (int round = 0; round < 3000; ++round) {
    std::vector<queries::QueryRow> rows(random() % 24);
    size_t inputSize = 0;
    for (auto& row : rows) {
      row.attribute = static_cast<int>(random() % 14) - 1;
      row.flag = flags[random() % flags.size()];
      row.name1 = names[random() % names.size()];
      row.name2 = names[random() % names.size()];
      row.expression = std::string(random() % 8, 'e') + (random() % 4 == 0 ? std::string(1, '\0') + "tail" : "");
      inputSize += row.name1.size() + row.name2.size() + row.expression.size();
    }
    const std::string sql = queries::AssembleQuerySql(rows);
    EXPECT_LE(sql.size(), 64 * (inputSize + rows.size()) + 64) << round;
    EXPECT_EQ(sql.find('\0'), std::string::npos) << round;
  }
}

TEST(AssembleQuerySql, JoinsAmongTablesAlreadyJoinedTightenTheLastCondition) {
  using queries::QueryRow;
  std::vector<QueryRow> rows = {
      {0, 5, -1, -1, "A", "", "", ""},        {0, 5, -1, -1, "B", "", "", ""},
      {0, 6, -1, 0, "", "", "A.x", ""},       {0, 7, -1, 1, "A", "B", "A.x=B.x", ""},
      {0, 7, -1, 2, "B", "C", "B.y=C.y", ""}, {0, 7, -1, 1, "C", "A", "C.z=A.z", ""},
  };
  EXPECT_EQ(queries::AssembleQuerySql(rows),
            "SELECT A.x  FROM ([A] INNER JOIN [B] ON A.x=B.x) LEFT JOIN [C] ON B.y=C.y AND (C.z=A.z) ;");
}

TEST(ParameterTypeName, NamesTheDataTypesAccessWrites) {
  const std::pair<int, const char*> cases[] = {{1, "Bit"},      {2, "Byte"},       {3, "Short"},       {4, "Long"},
                                               {5, "Currency"}, {6, "IEEESingle"}, {7, "IEEEDouble"},  {8, "DateTime"},
                                               {9, "Binary"},   {10, "Text"},      {11, "LongBinary"}, {12, "Memo"},
                                               {15, "Guid"},    {0, "Value"},      {-1, "Value"}};
  for (const auto& [code, name] : cases) EXPECT_EQ(queries::ParameterTypeName(code), name) << code;
}

}  // namespace
