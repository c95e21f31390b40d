// The corpus's linked tables, one to another Access file and one to an ODBC source, as the
// catalog stores them (the ODBC password masked), and as the SQLite export lists them.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "export/export_settings.h"
#include "records/linked_tables.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"

namespace {

std::string firstRow(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string row;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    sqlite3_exec(
        db, sql.c_str(),
        [](void* out, int, char** values, char**) {
          *static_cast<std::string*>(out) = values[0] ? values[0] : "NULL";
          return 1;
        },
        &row, nullptr);
  sqlite3_close(db);
  return row;
}

TEST(LinkedTablesCorpusTest, LinkedTablesOfTheLinkerFiles) {
  SKIP_WITHOUT_CORPUS();
  struct Case {
    const char* file;
    std::string expected;  // name|source|database|connect|odbc
  };
  const Case cases[] = {
      {"ace/linkerTestV2007.accdb", "Table2|Table1|Z:\\jackcess_test\\linkeeTest.accdb||0"},
      {"ace/odbcLinkerTestV2007.accdb",
       "Ordrar|dbo.Ordrar||DSN=Magnapinna;Description=Safexit;UID=safexit;PWD=***;APP=Microsoft "
       "Office;DATABASE=safexit|1"},
  };
  for (const Case& c : cases) {
    testsupport::AnalysedFile file;
    ASSERT_TRUE(file.analyse(c.file).ok) << c.file;
    const auto linked = records::ReadLinkedTables(file.recovery());
    ASSERT_EQ(linked.size(), 1u) << c.file;
    const auto& t = linked[0];
    EXPECT_EQ(t.name + "|" + t.sourceTable + "|" + t.database + "|" + t.connect + "|" + (t.odbc ? "1" : "0"),
              c.expected);

    testsupport::TempFolder destination;
    const auto exported = file.exportUserTables(exporter::kFormatSqlite, destination.path());
    EXPECT_EQ(firstRow(exported.outcome.target,
                       "SELECT name || '|' || source_table || '|' || database || '|' || "
                       "connect || '|' || odbc FROM access_linked_tables"),
              c.expected);
  }
}

}  // namespace
