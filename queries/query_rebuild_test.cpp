// RebuildQuerySql over rows stored in a temporary catalog database: the worked example byte
// for byte, the edge cases, and one case per kind of saved query.
#include "queries/query_rebuild.h"

#include <gtest/gtest.h>

#include "analysis/progress_channel.h"
#include "tests/support/corpus.h"
#include "tests/support/query_catalog.h"

namespace {

using testsupport::CatalogQueryRow;
using testsupport::kNullFlag;
using Rows = std::vector<CatalogQueryRow>;

struct RebuildCase {
  const char* what;
  Rows rows;
  std::string sql;
};

const std::nullopt_t kNull = std::nullopt;

// A text with the NUL characters of the literal inside it.
template <size_t N>
std::string WithNuls(const char (&text)[N]) {
  return std::string(text, N - 1);
}

const RebuildCase kCases[] = {
    // The worked example and its sort extension, byte for byte.
    {"worked example",
     {{5, kNullFlag, "Orders", kNull, kNull},
      {6, 0, kNull, kNull, "Orders.ID"},
      {8, kNullFlag, kNull, kNull, "Orders.ID>5"}},
     "SELECT Orders.ID  FROM [Orders] Where Orders.ID>5;"},
    {"worked example sorted",
     {{5, kNullFlag, "Orders", kNull, kNull},
      {6, 0, kNull, kNull, "Orders.ID"},
      {8, kNullFlag, kNull, kNull, "Orders.ID>5"},
      {11, kNullFlag, "D", kNull, "Orders.ID"}},
     "SELECT Orders.ID  FROM [Orders] Where Orders.ID>5Order By Orders.ID DESC;"},
    {"no rows", {}, "SELECT  FROM ;"},
    {"rows of no kind we know",
     {{0, 0, kNull, kNull, kNull},
      {255, kNullFlag, kNull, kNull, kNull},
      {4, 1, "x", kNull, "y"},
      {12, 0, kNull, kNull, "z"}},
     "SELECT  FROM ;"},
    {"DESC after each descending key",
     {{5, kNullFlag, "Orders", kNull, kNull},
      {3, 1, kNull, kNull, kNull},
      {11, kNullFlag, "D", kNull, "Orders.Placed"},
      {11, kNullFlag, kNull, kNull, "Orders.ID"},
      {11, kNullFlag, "D", kNull, "Orders.Total"}},
     "SELECT *  FROM [Orders] Order By Orders.Placed DESC,Orders.ID,Orders.Total DESC;"},
    {"null Flag in Attribute 3 sets no option",
     {{3, kNullFlag, kNull, kNull, kNull}, {5, kNullFlag, "Orders", kNull, kNull}, {6, 0, kNull, kNull, "Orders.ID"}},
     "SELECT Orders.ID  FROM [Orders] ;"},
    {"DISTINCTROW, TOP and owner access",
     {{1, 1, kNull, kNull, kNull},
      {3, 0x08 | 0x10 | 0x04, "10", kNull, kNull},
      {5, kNullFlag, "Orders", kNull, kNull},
      {6, 0, "Customer", kNull, "Orders.CustomerID"}},
     "SELECT DISTINCTROW TOP 10 Orders.CustomerID As [Customer] FROM [Orders] WITH OWNERACCESS OPTION;"},
    {"TOP PERCENT of all columns",
     {{3, 49, "5", kNull, kNull}, {5, kNullFlag, "Orders", kNull, kNull}},
     "SELECT TOP 5 PERCENT *  FROM [Orders] ;"},
    {"an expression ends at its first NUL, quotes and line breaks stay",
     {{5, kNullFlag, "People", kNull, kNull},
      {6, 0, kNull, kNull, "People.Name"},
      {8, kNullFlag, kNull, kNull, WithNuls("(People.Name='O''Brien' Or People.Note=\"a \\ b\"\r\n)\0garbage")}},
     "SELECT People.Name  FROM [People] Where (People.Name='O''Brien' Or People.Note=\"a \\ b\"\r\n);"},
    {"aliased table without joins",
     {{5, kNullFlag, "Orders", kNull, kNull},
      {5, kNullFlag, "Orders", "Older", kNull},
      {6, 0, kNull, kNull, "Older.ID"}},
     "SELECT Older.ID  FROM [Orders] ,[Orders] As [Older] ;"},
    {"select with nested joins, conditions of one pair joined by AND",
     {{1, 1, kNull, kNull, kNull},
      {3, 2, kNull, kNull, kNull},
      {5, kNullFlag, "Orders", kNull, kNull},
      {5, kNullFlag, "Lines", kNull, kNull},
      {5, kNullFlag, "Customers", kNull, kNull},
      {6, 0, kNull, kNull, "Orders.*"},
      {6, 0, kNull, kNull, "Lines.Qty"},
      {7, 2, "Orders", "Customers", "Orders.Cust = Customers.ID"},
      {7, 1, "Customers", "Lines", "Customers.ID = Lines.Cust"},
      {7, 1, "Customers", "Lines", "Customers.Region = Lines.Region"},
      {8, kNullFlag, kNull, kNull, "((Lines.Qty)>1)"},
      {11, kNullFlag, kNull, kNull, "Lines.Qty"}},
     "SELECT DISTINCT Orders.* ,Lines.Qty  FROM ([Orders] LEFT JOIN [Customers] ON Orders.Cust = Customers.ID) INNER "
     "JOIN [Lines] ON (Customers.Region = Lines.Region) AND (Customers.ID = Lines.Cust) Where ((Lines.Qty)>1)Order By "
     "Lines.Qty;"},
    {"separate join chains, then one join between them",
     {{5, kNullFlag, "A", kNull, kNull},
      {5, kNullFlag, "B", kNull, kNull},
      {5, kNullFlag, "C", kNull, kNull},
      {5, kNullFlag, "D", kNull, kNull},
      {5, kNullFlag, "E", kNull, kNull},
      {6, 0, kNull, kNull, "A.x"},
      {7, 1, "A", "B", "A.x=B.x"},
      {7, 2, "C", "D", "C.y=D.y"},
      {7, 3, "B", "C", "B.z=C.z"}},
     "SELECT A.x  FROM ([A] INNER JOIN [B] ON A.x=B.x) RIGHT JOIN ([C] LEFT JOIN [D] ON C.y=D.y) ON B.z=C.z ,[E] ;"},
    {"a join whose new table comes first turns LEFT into RIGHT",
     {{5, kNullFlag, "A", kNull, kNull},
      {5, kNullFlag, "B", kNull, kNull},
      {5, kNullFlag, "C", kNull, kNull},
      {6, 0, kNull, kNull, "A.x"},
      {7, 2, "A", "B", "A.x=B.x"},
      {7, 2, "C", "B", "C.y=B.y"}},
     "SELECT A.x  FROM ([A] LEFT JOIN [B] ON A.x=B.x) RIGHT JOIN [C] ON C.y=B.y ;"},
    {"make-table with grouping and HAVING",
     {{1, 2, "Totals", kNull, kNull},
      {3, 0, kNull, kNull, kNull},
      {5, kNullFlag, "Lines", kNull, kNull},
      {5, kNullFlag, "Items", kNull, kNull},
      {6, 0, "Most", kNull, "Max(Lines.Qty)"},
      {9, 0, kNull, kNull, "Items.Name"},
      {6, 0, kNull, kNull, "Items.Name"},
      {7, 3, "Lines", "Items", "Lines.Item = Items.ID"},
      {10, kNullFlag, kNull, kNull, "(((Max(Lines.Qty))>5))"}},
     "SELECT Max(Lines.Qty) As [Most],Items.Name INTO [Totals] FROM [Lines] RIGHT JOIN [Items] ON Lines.Item = "
     "Items.ID Group By Items.Name Having (((Max(Lines.Qty))>5));"},
    {"append from a selection",
     {{1, 3, "Archive", kNull, kNull},
      {6, 0, kNull, "ID", "[Orders].[ID]"},
      {6, 0, kNull, "Who", "[Customers].[Name]"},
      {5, kNullFlag, "Archive", kNull, kNull},
      {7, 1, "Orders", "Customers", "[Orders].[Cust]=[Customers].[ID]"},
      {5, kNullFlag, "Orders", kNull, kNull},
      {5, kNullFlag, "Customers", kNull, kNull}},
     "INSERT INTO [Archive](ID,Who) SELECT [Orders].[ID] ,[Customers].[Name]  FROM [Archive] ,[Orders] INNER JOIN "
     "[Customers] ON [Orders].[Cust]=[Customers].[ID] ;"},
    {"append of values",
     {{1, 3, "Log", kNull, kNull}, {6, -32768, kNull, "Code", "7"}, {6, -32768, kNull, "Note", "\"it's\""}},
     "INSERT INTO [Log](Code,Note)  VALUES(7,\"it's\");"},
    {"a null Flag goes to the inserted values",
     {{1, 3, "Log", kNull, kNull}, {6, kNullFlag, kNull, kNull, "1"}, {6, kNullFlag, kNull, kNull, "2"}},
     "INSERT INTO [Log] VALUES(1,2);"},
    {"insert without values ends with no semicolon", {{1, 3, "Log", kNull, kNull}}, "INSERT INTO [Log]"},
    {"update with a parameter",
     {{1, 4, kNull, kNull, kNull},
      {3, 0, kNull, kNull, kNull},
      {5, kNullFlag, "People", kNull, kNull},
      {6, 0, kNull, "People.Name", "[New name]"},
      {6, 0, kNull, "People.Seen", "Date()"},
      {8, kNullFlag, kNull, kNull, "(((People.ID)=[Which]))"},
      {2, 10, "New name", kNull, kNull},
      {2, 4, "Which", kNull, kNull}},
     "PARAMETERS [New name] Text, [Which] Long; Update [People] SET People.Name=[New name],People.Seen=Date() Where "
     "(((People.ID)=[Which]));"},
    {"delete",
     {{1, 5, kNull, kNull, kNull},
      {3, 0, kNull, kNull, kNull},
      {5, kNullFlag, "People", kNull, kNull},
      {6, 0, kNull, kNull, "People.ID"},
      {8, kNullFlag, kNull, kNull, "(((People.ID)>100))"}},
     "Delete People.ID  FROM [People]  Where (((People.ID)>100));"},
    {"crosstab",
     {{1, 6, kNull, kNull, kNull},
      {6, 0, "Sold", kNull, "Sum(Lines.Qty)"},
      {6, 2, kNull, kNull, "Items.Name"},
      {6, 1, kNull, kNull, "Lines.Month"},
      {7, 1, "Lines", "Items", "Lines.Item=Items.ID"},
      {5, kNullFlag, "Lines", kNull, kNull},
      {5, kNullFlag, "Items", kNull, kNull},
      {9, 2, kNull, kNull, "Items.Name"},
      {9, 1, kNull, kNull, "Lines.Month"},
      {11, kNullFlag, kNull, kNull, "Items.Name"}},
     "TRANSFORM Sum(Lines.Qty) As [Sold] SELECT Items.Name  FROM [Lines] INNER JOIN [Items] ON Lines.Item=Items.ID "
     "Group By Items.Name Order By Items.Name PIVOT Lines.Month;"},
    {"data definition: the stored statement as it is",
     {{1, 7, kNull, kNull, WithNuls("CREATE TABLE Notes (Body MEMO);\0\0")}},
     "CREATE TABLE Notes (Body MEMO);"},
    {"pass-through: the statement without its connect string, semicolons kept",
     {{1, 8, "ODBC;DSN=Shop;", kNull, WithNuls("UPDATE t SET a=1; DELETE FROM u;\0")}},
     "UPDATE t SET a=1; DELETE FROM u;"},
    {"union of all rows, sorted",
     {{5, kNullFlag, kNull, "X7YZ_____1", "SELECT a FROM A\r\n"},
      {1, 9, kNull, kNull, kNull},
      {5, kNullFlag, kNull, "X7YZ_____2", "SELECT b FROM B"},
      {3, 1, kNull, kNull, kNull},
      {11, kNullFlag, "D", kNull, "a"}},
     "SELECT a FROM A\r\n UNION ALL SELECT b FROM B Order By a DESC;"},
    {"union of distinct rows",
     {{1, 9, kNull, kNull, kNull},
      {3, 2, kNull, kNull, kNull},
      {5, kNullFlag, kNull, "X7YZ_____1", "SELECT a FROM A"},
      {5, kNullFlag, kNull, "X7YZ_____2", "SELECT b FROM B"}},
     "SELECT a FROM A UNION SELECT b FROM B;"},
    {"union sorted descending on two keys, the sort rows first",
     {{11, kNullFlag, "D", kNull, "[Orders].[Date]"},
      {11, kNullFlag, kNull, kNull, "[Orders].[ID]"},
      {1, 9, kNull, kNull, kNull},
      {3, 3, kNull, kNull, kNull},
      {5, kNullFlag, kNull, "X7YZ_____1", "SELECT [ID], [Date] FROM [Orders] "},
      {5, kNullFlag, kNull, "X7YZ_____2", "SELECT [ID], [Date] FROM [Old Orders]"}},
     "SELECT [ID], [Date] FROM [Orders] UNION SELECT [ID], [Date] FROM [Old Orders] Order By [Orders].[Date] "
     "DESC,[Orders].[ID];"},
    {"union whose last part holds its own sort",
     {{1, 9, kNull, kNull, kNull},
      {5, kNullFlag, kNull, "X7YZ_____1", "SELECT a FROM A"},
      {5, kNullFlag, kNull, "X7YZ_____2", "SELECT a FROM B ORDER BY a DESC"}},
     "SELECT a FROM A UNION ALL SELECT a FROM B ORDER BY a DESC;"},
};

TEST(RebuildQuerySql, EveryKindFromRowsInTheCatalogDatabase) {
  testsupport::TempFolder folder;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  testsupport::OpenCatalogDatabase(recovery, folder.file("TempDb.mdb"));
  int objectId = -2147483640;
  for (const auto& c : kCases) {
    testsupport::InsertQueryRows(*recovery.m_Obj_DAO_Database, objectId, c.rows);
    EXPECT_EQ(queries::RebuildQuerySql(recovery, objectId), c.sql) << c.what;
    ++objectId;
  }
}

TEST(RebuildQuerySql, WithoutTheQueryTableGivesTheEmptySelectionAndLogs) {
  testsupport::TempFolder folder;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  EXPECT_EQ(queries::RebuildQuerySql(recovery, 7), "SELECT  FROM ;");
}

}  // namespace
