// Saved queries into SQLite: the kinds, the rewrites of the query text, and the views made from
// the SELECT queries (over tables and over other views), the rest listed with their reason.
#include "export/sqlite_queries.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/corpus.h"

namespace {

TEST(SqliteQueriesTest, Kinds) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT a FROM t;", "select"},
      {"select a from t union select b from u", "union"},
      {"SELECT a INTO [new] FROM t", "make-table"},
      {"SELECT [into] FROM t", "select"},
      {"TRANSFORM Sum(x) SELECT a FROM t GROUP BY a PIVOT b", "crosstab"},
      {"INSERT INTO t (a) SELECT a FROM u", "append"},
      {"UPDATE t SET a = 1", "update"},
      {"DELETE t.* FROM t", "delete"},
      {"PARAMETERS p Long; SELECT a FROM t", "parameters"},
      {"CREATE TABLE x (a LONG)", "ddl"},
      {"", "other"},
  };
  for (const auto& [sql, kind] : cases) EXPECT_EQ(exporter::SqliteQueryKind(sql), kind) << sql;
}

TEST(SqliteQueriesTest, Rewrites) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT [my col] FROM [my \"t\"];", "SELECT \"my col\" FROM \"my \"\"t\"\"\""},
      {"SELECT a & \"x's\" FROM t", "SELECT a || 'x''s' FROM t"},
      {"SELECT a FROM t WHERE b = True OR c = false", "SELECT a FROM t WHERE b = 1 OR c = 0"},
      {"SELECT a FROM t WHERE d > #1/31/2020# AND e < #12/1/1999 10:05:00#",
       "SELECT a FROM t WHERE d > '2020-01-31' AND e < '1999-12-01 10:05:00'"},
      {"SELECT 'True & [x]' FROM t", "SELECT 'True & [x]' FROM t"},
      {"SELECT t.True FROM t", "SELECT t.True FROM t"},
      {"SELECT \"say \"\"hi\"\"\" FROM t", "SELECT 'say \"hi\"' FROM t"},
      {"SELECT [unclosed FROM t", "SELECT [unclosed FROM t"},
      {"SELECT DISTINCTROW a FROM t", "SELECT ALL a FROM t"},
  };
  for (const auto& [sql, rewritten] : cases) EXPECT_EQ(exporter::SqliteQueryText(sql), rewritten) << sql;
}

TEST(SqliteQueriesTest, ViewsAndReasons) {
  testsupport::TempFolder folder;
  exporter::SqliteFile file;
  ASSERT_TRUE(file.create(folder.file("q.sqlite")));
  ASSERT_TRUE(file.execute("CREATE TABLE t (a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'x'), (2, 'y')"));
  analysis::Queries overView{1, "Over", "SELECT [a] FROM [Base] WHERE [a] > 1;"};  // before its source
  analysis::Queries base{2, "Base", "SELECT a, b & \"!\" AS c FROM t;"};
  analysis::Queries update{3, "Up", "UPDATE t SET a = 2"};
  analysis::Queries broken{4, "Broken", "SELECT [nope] FROM t"};
  analysis::Queries formBound{5, "FormBound", "SELECT a FROM t WHERE b = [Forms]![F]![c] AND b <> '!' AND a != 3"};
  const exporter::SqliteQueriesOutcome outcome =
      exporter::ExportQueriesToSqlite({&overView, &base, &update, &broken, &formBound}, file);
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(outcome.selects, 4u);
  EXPECT_EQ(outcome.views, 2u);

  std::vector<std::string> rows;
  auto collect = [](void* out, int columns, char** values, char**) {
    std::string row;
    for (int c = 0; c < columns; ++c) row += std::string(values[c] ? values[c] : "NULL") + "|";
    static_cast<std::vector<std::string>*>(out)->push_back(row);
    return 0;
  };
  ASSERT_EQ(sqlite3_exec(file.handle(), "SELECT name, kind, reason IS NULL FROM access_queries ORDER BY rowid", collect,
                         &rows, nullptr),
            SQLITE_OK);
  EXPECT_EQ(rows, (std::vector<std::string>{"Over|select|1|", "Base|select|1|", "Up|update|0|", "Broken|select|0|",
                                            "FormBound|select|0|"}));
  rows.clear();
  ASSERT_EQ(sqlite3_exec(file.handle(), "SELECT * FROM Over", collect, &rows, nullptr), SQLITE_OK);
  EXPECT_EQ(rows, std::vector<std::string>{"2|"});
  rows.clear();
  ASSERT_EQ(sqlite3_exec(file.handle(), "SELECT c FROM Base ORDER BY a", collect, &rows, nullptr), SQLITE_OK);
  EXPECT_EQ(rows, (std::vector<std::string>{"x!|", "y!|"}));
  rows.clear();
  ASSERT_EQ(
      sqlite3_exec(file.handle(), "SELECT reason FROM access_queries WHERE name = 'Broken'", collect, &rows, nullptr),
      SQLITE_OK);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].find("nope"), std::string::npos) << rows[0];
  EXPECT_NE(sqlite3_exec(file.handle(), "SELECT * FROM Broken", nullptr, nullptr, nullptr), SQLITE_OK);
  rows.clear();
  ASSERT_EQ(sqlite3_exec(file.handle(), "SELECT reason FROM access_queries WHERE name = 'FormBound'", collect, &rows,
                         nullptr),
            SQLITE_OK);
  EXPECT_EQ(rows, std::vector<std::string>{std::string(exporter::kFormReferenceReason) + "|"});
}

}  // namespace
