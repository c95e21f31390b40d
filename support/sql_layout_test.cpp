#include "support/sql_layout.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
  const char* name;
  const char* sql;
  const char* laidOut;
};

class SqlLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(SqlLayoutTest, BreaksBeforeMainClausesOnly) {
  EXPECT_EQ(support::LaidOutSql(GetParam().sql), GetParam().laidOut);
}

const LayoutCase kCases[] = {
    {"select", "SELECT a, b FROM t WHERE a > 1 ORDER BY b;", "SELECT a, b\nFROM t\nWHERE a > 1\nORDER BY b;"},
    {"groupHaving", "select a from t group by a having count(*)>1", "select a\nfrom t\ngroup by a\nhaving count(*)>1"},
    {"unionAll", "SELECT a FROM t UNION ALL SELECT a FROM u", "SELECT a\nFROM t\nUNION ALL\nSELECT a\nFROM u"},
    {"literalsAndNamesKept", "SELECT 'a from b', [Where Name] FROM t", "SELECT 'a from b', [Where Name]\nFROM t"},
    {"subqueryKept", "SELECT a FROM t WHERE a IN (SELECT b FROM u)", "SELECT a\nFROM t\nWHERE a IN (SELECT b FROM u)"},
    {"wordsInsideNamesKept", "SELECT fromDate, selection FROM t", "SELECT fromDate, selection\nFROM t"},
    {"insertInto", "INSERT INTO t ( a ) SELECT a FROM u", "INSERT INTO t ( a )\nSELECT a\nFROM u"},
    {"selectInto", "SELECT a INTO t2 FROM t", "SELECT a\nINTO t2\nFROM t"},
    {"update", "UPDATE t SET a = 1 WHERE b = 2", "UPDATE t\nSET a = 1\nWHERE b = 2"},
    {"existingBreaksNotDoubled", "SELECT a\nFROM t", "SELECT a\nFROM t"},
    {"noClause", "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);", "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"},
    {"unclosedQuote", "SELECT 'open FROM t", "SELECT 'open FROM t"},
    {"empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Statements, SqlLayoutTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

}  // namespace
