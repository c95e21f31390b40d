// The saved queries of the corpus's query test files and their rebuilt SQL.
#include "tests/support/corpus_queries.h"

#include "tests/support/corpus.h"

namespace testsupport {

// What we rebuild for each query of queryTestV2003.mdb and queryTestV2007.accdb (the two hold
// the same queries).
const std::map<std::string, std::string> kCorpusQuerySql = {
    {"SelectQuery",
     "SELECT DISTINCT Table1.* ,Table2.col1 ,Table2.col2 ,Table3.col3  FROM ([Table1] LEFT JOIN [Table3] ON "
     "Table1.col1 = Table3.col1) INNER JOIN [Table2] ON (Table3.col1 = Table2.col2) AND (Table3.col1 = Table2.col1) "
     "Where (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))Order By Table2.col1;"},
    {"UpdateQuery",
     "PARAMETERS [User Name] Text; Update [Table1] SET Table1.col1=\"foo\",Table1.col2=[Table2].[col3],[Table2].[col1]"
     "=[User Name] Where ((([Table2].[col1]) Is Not Null));"},
    {"AppendQuery",
     "INSERT INTO [Table3](col2,col2,col3) SELECT [Table1].[col2] ,[Table2].[col2] ,[Table2].[col3]  FROM [Table3] "
     ",[Table1] INNER JOIN [Table2] ON [Table1].[col1]=[Table2].[col1] ;"},
    {"DeleteQuery", "Delete Table1.col1 ,Table1.col2 ,Table1.col3  FROM [Table1]  Where (((Table1.col1)>\"blah\"));"},
    {"MakeTableQuery",
     "SELECT Max(Table2.col1) As [MaxOfcol1],Table2.col2 ,Table3.col2 INTO [Table4] FROM ([Table2] INNER JOIN [Table1] "
     "ON Table2.col1 = Table1.col2) RIGHT JOIN [Table3] ON Table1.col2 = Table3.col3 Group By Table2.col2 ,Table3.col2 "
     "Having (((Max(Table2.col1))=\"buzz\") AND ((Table2.col2)<>\"blah\"));"},
    {"CrosstabQuery",
     "TRANSFORM Count([Table2].[col2]) As [CountOfcol2] SELECT Table2_1.col1 ,[Table2].[col3] ,Avg(Table2_1.col2) As "
     "[AvgOfcol2] FROM ([Table1] INNER JOIN [Table2] ON [Table1].[col1]=[Table2].[col1]) INNER JOIN [Table2] As "
     "[Table2_1] ON [Table2].[col1]=Table2_1.col3 Where ((([Table1].[col1])>\"10\") And ((Table2_1.col1) Is Not Null) "
     "And ((Avg(Table2_1.col2))>\"10\"))Group By Table2_1.col1 ,[Table2].[col3] Order By [Table2].[col3] PIVOT "
     "[Table1].[col1];"},
    {"UnionQuery",
     "Select Table1.col1, Table1.col2\r\nwhere Table1.col1 = \"foo\"\r\nUNION\r\nSelect Table2.col1, Table2.col2\r\n "
     "UNION ALL Select Table3.col1, Table3.col2\r\nwhere Table3.col3 > \"blah\";"},
    {"PassthroughQuery", "ALTER TABLE Table4 DROP COLUMN col5;"},
    {"DataDefinitionQuery", "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"},
};

std::vector<std::string> QueryTestFiles() {
  std::vector<std::string> files;
  for (const auto& path : CorpusDatabases())
    if (path.find("/queryTest") != std::string::npos) files.push_back(path);
  return files;
}

}  // namespace testsupport
