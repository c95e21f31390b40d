// CREATE TABLE statements and the column sort that precedes them.
#include "export/schema_statements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "analysis/model.h"
#include "export/analysis_steps.h"
#include "jet4/create_table_statement.h"

namespace {

using analysis::Column;
using analysis::Table;

Column column(const std::string& name, int32_t type, int32_t number, int32_t length = 0) {
  Column c;
  c.name = name;
  c.type = type;
  c.columnNumber = number;
  c.length = length;
  return c;
}

class SchemaStatementsTest : public ::testing::Test {
 protected:
  ~SchemaStatementsTest() override { analysis::g_tables.clear(); }

  Table& addTable(const std::string& name, std::vector<Column> columns) {
    Table table;
    table.name = name;
    table.columns = std::move(columns);
    analysis::g_tables.push_back(std::move(table));
    return analysis::g_tables.back();
  }
};

TEST_F(SchemaStatementsTest, TheTwoColumnExampleByteForByte) {
  addTable("T", {column("ID", 4, 0, 4), column("Name", 10, 1, 50)});
  exporter::BuildSchemaStatements();
  EXPECT_EQ(analysis::g_tables[0].createStatement,
            "CREATE TABLE [T] \r\n"
            "(\r\n"
            "\t[ID] COUNTER, \r\n"
            "\t[Name] TEXT(50)\r\n"
            ");");
}

TEST_F(SchemaStatementsTest, StatementsByColumnList) {
  Column numeric = column("Amount", 16, 1, 17);
  numeric.precision = 18;
  numeric.scale = 4;
  struct Case {
    const char* what;
    std::vector<Column> columns;
    std::string expected;
  } cases[] = {
      {"no columns", {}, "CREATE TABLE [X] \r\n(\r\n);"},
      {"one column", {column("A", 7, 1)}, "CREATE TABLE [X] \r\n(\r\n\t[A] DOUBLE\r\n);"},
      {"only text has a size",
       {column("M", 12, 1, 0), column("B", 9, 2, 510), column("T", 10, 3, 255)},
       "CREATE TABLE [X] \r\n(\r\n\t[M] MEMO, \r\n\t[B] BINARY, \r\n\t[T] TEXT(255)\r\n);"},
      {"numeric keeps precision and scale", {numeric}, "CREATE TABLE [X] \r\n(\r\n\t[Amount] NUMERIC(18,4)\r\n);"},
      {"unknown type code", {column("U", 0x46, 1)}, "CREATE TABLE [X] \r\n(\r\n\t[U] UNKNOWN-DATATYPE = 0x46\r\n);"},
      {"long that is not column 0", {column("L", 4, 3, 4)}, "CREATE TABLE [X] \r\n(\r\n\t[L] LONG\r\n);"},
      {"a closing bracket in a name is doubled", {column("a]b", 1, 1)}, "CREATE TABLE [X] \r\n(\r\n\t[a]]b] BIT\r\n);"},
  };
  for (const auto& c : cases) {
    analysis::g_tables.clear();
    addTable("X", c.columns);
    exporter::BuildSchemaStatements();
    EXPECT_EQ(analysis::g_tables[0].createStatement, c.expected) << c.what;
  }
}

// Whatever the names hold, the Access target reads back the same table and column names.
TEST_F(SchemaStatementsTest, AnyNameSurvivesTheAccessTarget) {
  struct Case {
    const char* what;
    std::string table;
    std::vector<std::string> columns;
  } cases[] = {
      {"Cyrillic",
       "\xD0\xA1\xD1\x82\xD1\x83\xD0\xB4\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B",
       {"\xD0\x98\xD0\xBC\xD1\x8F", "\xD0\x9F\xD0\xBE\xD0\xBB"}},
      {"CJK and Vietnamese", "\xE5\xAE\xA2\xE6\x88\xB7", {"\xE5\x90\x8D\xE7\xA7\xB0", "T\xC3\xAAn h\xC3\xA0ng"}},
      {"closing brackets", "Orders] old", {"a]", "]b", "[c]"}},
      {"blanks and punctuation", " Lead blank", {"Unit Price (\xE2\x82\xAC)", "x, y; z", "a'b\"c"}},
  };
  for (const auto& c : cases) {
    Table table;
    table.name = c.table;
    for (size_t i = 0; i < c.columns.size(); ++i) table.columns.push_back(column(c.columns[i], 10, int32_t(i), 100));
    const auto parsed =
        jet4::ParseCreateTable(exporter::CreateTableStatement(table, exporter::StatementForm::kForNewDatabase));
    EXPECT_EQ(parsed.name, c.table) << c.what;
    std::vector<std::string> names;
    for (const auto& parsedColumn : parsed.columns) names.push_back(parsedColumn.name);
    EXPECT_EQ(names, c.columns) << c.what;
  }
}

// Types of newer files: their own names where the statement describes the file; in a new Jet 4
// database (which has none of them) the forms that hold their values.
TEST_F(SchemaStatementsTest, NewerTypesInBothForms) {
  Column calculated = column("Full", 10, 3, 255);
  calculated.expression = "[A] & \"*/\" & [B]";
  struct Case {
    const char* what;
    Column column;
    const char* asStored;
    const char* forNewDatabase;
  } cases[] = {
      {"large number", column("N", 0x13, 1, 8), "[N] BIGINT", "[N] NUMERIC(19,0)"},
      {"extended date", column("D", 0x14, 2, 42), "[D] DATETIME2", "[D] TEXT(27)"},
      {"calculated", calculated, "[Full] TEXT(255) /* = [A] & \"* /\" & [B] */", "[Full] TEXT(255)"},
      {"complex", column("Files", 18, 4, 4), "[Files] ATTACHMENT", "[Files] MEMO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Table table;
    table.name = "X";
    table.columns = {c.column};
    const std::string head = "CREATE TABLE [X] \r\n(\r\n\t";
    EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kAsStored), head + c.asStored + "\r\n);");
    EXPECT_EQ(exporter::CreateTableStatement(table, exporter::StatementForm::kForNewDatabase),
              head + c.forNewDatabase + "\r\n);");
  }
}

TEST_F(SchemaStatementsTest, ColumnsAreSortedByColumnNumber) {
  addTable("A", {column("c", 10, 3), column("a", 10, 1), column("b", 10, 2)});
  addTable("B", {});
  addTable("C", {column("only", 10, 7)});
  exporter::SortTableColumns();
  std::vector<std::string> names;
  for (const auto& c : analysis::g_tables[0].columns) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(analysis::g_tables[2].columns[0].name, "only");
}

TEST_F(SchemaStatementsTest, SortOrdersAnyPermutationAndSurvivesDamagedNumbers) {
  std::mt19937 random(7);
  for (int size : {2, 3, 10, 257, 5000}) {
    std::vector<Column> columns;
    for (int i = 0; i < size; ++i) columns.push_back(column("c" + std::to_string(i), 10, i % 3 == 0 ? -i : i));
    std::shuffle(columns.begin(), columns.end(), random);
    analysis::g_tables.clear();
    addTable("T", columns);
    exporter::SortTableColumns();
    const auto& sorted = analysis::g_tables[0].columns;
    ASSERT_EQ(sorted.size(), static_cast<size_t>(size));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                               [](const Column& a, const Column& b) { return a.columnNumber < b.columnNumber; }));
  }
  // All numbers equal (a zeroed definition): the deepest split the sort can meet.
  analysis::g_tables.clear();
  addTable("T", std::vector<Column>(20000, column("same", 10, 0)));
  exporter::SortTableColumns();
  EXPECT_EQ(analysis::g_tables[0].columns.size(), 20000u);
}

TEST_F(SchemaStatementsTest, TheInstalledStepSortsThenBuilds) {
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  exporter::InstallAnalysisSteps(recovery);
  ASSERT_TRUE(recovery.steps.buildSchemaStatements);
  addTable("T", {column("Name", 10, 1, 50), column("ID", 4, 0, 4)});
  recovery.steps.buildSchemaStatements(recovery);
  EXPECT_EQ(analysis::g_tables[0].createStatement,
            "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50)\r\n);");
}

}  // namespace
