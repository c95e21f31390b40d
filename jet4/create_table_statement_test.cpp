// The CREATE TABLE statements the export builds, their type names and what is refused.
#include "jet4/create_table_statement.h"

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace {

using jet4::ColumnType;
using jet4::ParseCreateTable;

TEST(CreateTableStatementTest, ReadsTheExportsStatement) {
  const auto table = ParseCreateTable("CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50)\r\n);");
  EXPECT_EQ(table.name, "T");
  EXPECT_EQ(table.tableType, jet4::kTableUser);
  ASSERT_EQ(table.columns.size(), 2u);
  EXPECT_EQ(table.columns[0].name, "ID");
  EXPECT_EQ(table.columns[0].type, ColumnType::kLong);
  EXPECT_TRUE(table.columns[0].isAutoNumber());
  EXPECT_TRUE(table.columns[0].isFixed());
  EXPECT_EQ(table.columns[1].type, ColumnType::kText);
  EXPECT_EQ(table.columns[1].length, 100);  // two bytes per character
  EXPECT_FALSE(table.columns[1].isFixed());
  EXPECT_EQ(table.columns[1].extFlags, jet4::kColumnCompressed);
  EXPECT_TRUE(table.indexes.empty());
}

TEST(CreateTableStatementTest, ReadsTheQueriesTableStatement) {
  const auto table = ParseCreateTable(
      "CREATE TABLE [ASysQueries]([ObjectId] COUNTER,[Attribute] INT, [Order] INT,[Name1] TEXT(255), "
      "[Name2] TEXT(255), [Expression] MEMO, [Flag] INT, [LvExtra] LONG);");
  ASSERT_EQ(table.columns.size(), 8u);
  EXPECT_EQ(table.columns[2].name, "Order");
  EXPECT_EQ(table.columns[5].type, ColumnType::kMemo);
  EXPECT_EQ(table.columns[7].type, ColumnType::kLong);
}

TEST(CreateTableStatementTest, MapsEveryTypeName) {
  const struct {
    const char* type;
    ColumnType stored;
    uint16_t length;
    bool fixed;
  } cases[] = {
      {"COUNTER", ColumnType::kLong, 4, true},      {"LONG", ColumnType::kLong, 4, true},
      {"INT", ColumnType::kInt, 2, true},           {"BYTE", ColumnType::kByte, 1, true},
      {"BIT", ColumnType::kBool, 1, true},          {"CURRENCY", ColumnType::kCurrency, 8, true},
      {"SINGLE", ColumnType::kSingle, 4, true},     {"DOUBLE", ColumnType::kDouble, 8, true},
      {"DATE", ColumnType::kDateTime, 8, true},     {"BINARY", ColumnType::kBinary, 510, false},
      {"TEXT(255)", ColumnType::kText, 510, false}, {"TEXT", ColumnType::kText, 510, false},
      {"MEMO", ColumnType::kMemo, 0, false},        {"OLEOBJECT", ColumnType::kOle, 0, false},
      {"GUID", ColumnType::kGuid, 16, true},        {"NUMERIC(18,2)", ColumnType::kNumeric, 17, true},
      {"text(1)", ColumnType::kText, 2, false},     {"BINARY(16)", ColumnType::kBinary, 16, false},
  };
  for (const auto& c : cases) {
    const auto table = ParseCreateTable(std::string("CREATE TABLE [T] ([C] ") + c.type + ")");
    ASSERT_EQ(table.columns.size(), 1u) << c.type;
    EXPECT_EQ(table.columns[0].type, c.stored) << c.type;
    EXPECT_EQ(table.columns[0].length, c.length) << c.type;
    EXPECT_EQ(table.columns[0].isFixed(), c.fixed) << c.type;
  }
  const auto numeric = ParseCreateTable("CREATE TABLE [T] ([N] NUMERIC(18, 4))");
  EXPECT_EQ(numeric.columns[0].precision, 18);
  EXPECT_EQ(numeric.columns[0].scale, 4);
}

TEST(CreateTableStatementTest, NamesKeepWhatTheBracketsHold) {
  const auto table = ParseCreateTable("create table [Order Details (old)] ([Unit Price €] CURRENCY, [x-y] LONG)");
  EXPECT_EQ(table.name, "Order Details (old)");
  EXPECT_EQ(table.columns[0].name, "Unit Price €");
  EXPECT_EQ(table.columns[1].name, "x-y");
}

TEST(CreateTableStatementTest, RefusesWhatTheEngineRefuses) {
  const char* statements[] = {
      "CREATE TABLE [T] \r\n(\r\n\t[X] UNKNOWN-DATATYPE = 0x12\r\n);",
      "CREATE TABLE [T] \r\n(\r\n\t[X] ATTACHMENT\r\n);",
      "CREATE TABLE [T] \r\n(\r\n);",
      "CREATE TABLE [T] ([A] LONG, [a] TEXT(5))",
      "CREATE TABLE [T] ([A] TEXT(0))",
      "CREATE TABLE [T] ([A] TEXT(256))",
      "CREATE TABLE [T] ([A] NUMERIC(29,0))",
      "CREATE TABLE [T] ([A] NUMERIC(5,6))",
      "CREATE TABLE [T] ([A] LONG(4))",
      "CREATE TABLE [T] ([A] LONG",
      "CREATE TABLE [T] ([A] LONG) extra",
      "CREATE TABLE [] ([A] LONG)",
      "CREATE TABLE [T ([A] LONG)",
      "CREATE VIEW [T] ([A] LONG)",
      "DROP TABLE [T]",
      "",
  };
  for (const char* statement : statements) EXPECT_THROW(ParseCreateTable(statement), engine::EngineError) << statement;
}

}  // namespace
