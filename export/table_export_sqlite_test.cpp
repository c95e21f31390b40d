// One table's export into a SQLite database, read back through sqlite3: the declared types, the
// records the record list shows (deleted rows left out, all-null rows kept), the schema-only
// form, tables without data pages, names that need quoting, the primary key and the table of
// recovered rows.
#include "export/table_export_sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "export/export_settings.h"
#include "export/recovered_export.h"
#include "records/type_names.h"
#include "tests/support/export_rows.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

using Row = ExportRow;

// Each row's values as "typeof:value" texts joined by "|".
std::vector<std::string> rowsOf(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* select = nullptr;
  std::vector<std::string> rows;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr) != SQLITE_OK) return {"<" + sql + " failed>"};
  while (sqlite3_step(select) == SQLITE_ROW) {
    std::string row;
    for (int c = 0; c < sqlite3_column_count(select); ++c) {
      if (c) row += "|";
      const unsigned char* text = sqlite3_column_text(select, c);
      static const char* kStorage[] = {"", "int", "real", "text", "blob", "null"};
      row += std::string(kStorage[sqlite3_column_type(select, c)]) + ":" +
             (text ? reinterpret_cast<const char*>(text) : "");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(select);
  return rows;
}

class SqliteTableExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShapeExportTable(fixture, "Shop \"T\"");
    ASSERT_TRUE(file.create(folder.file("t.sqlite")));
  }

  void openWithRows(const std::vector<Row>& rows) { OpenWithExportRows(fixture, rows); }

  RecordFixture fixture;
  TempFolder folder;
  exporter::SqliteFile file;
};

TEST_F(SqliteTableExportTest, RecordsAndDeclaredTypes) {
  openWithRows({{1, true, 42, "plain"},
                {2, false, 7, "gone", 0xC000},
                {3, false, 100, "it's \"q\""},
                {0, false, 0, "", 0, true}});
  EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, file, exporter::kModeSchemaAndData), 1);
  EXPECT_EQ(fixture.table.exportedRecords, 3);
  EXPECT_EQ(rowsOf(file.handle(), "SELECT * FROM \"Shop \"\"T\"\"\" ORDER BY rowid"),
            (std::vector<std::string>{"int:1|int:1|text:0.42|text:plain", "int:3|int:0|text:1.00|text:it's \"q\"",
                                      "null:|int:0|null:|null:"}));  // a BIT is never null
  EXPECT_EQ(rowsOf(file.handle(), "SELECT name, type FROM pragma_table_info('Shop \"T\"')"),
            (std::vector<std::string>{"text:id|text:INTEGER", "text:flag|text:INTEGER",
                                      "text:amount|text:DECIMAL TEXT(18,2)", "text:note|text:TEXT"}));
}

TEST_F(SqliteTableExportTest, SchemaOnlyAndEmptyTablesAndRefusals) {
  struct Case {
    const char* what;
    int mode;
    bool withPage;
    int result;
    int records;
  };
  const Case cases[] = {
      {"schema only: the table without rows", exporter::kModeSchemaOnly, true, 1, 0},
      {"no data pages: an empty table", exporter::kModeSchemaAndData, false, 1, 0},
      {"unknown mode", 99, true, -1, 0},
  };
  for (const auto& c : cases) {
    exporter::SqliteFile fresh;
    TempFolder place;
    ASSERT_TRUE(fresh.create(place.file("c.sqlite")));
    fixture.table.dataPages.clear();
    if (c.withPage) openWithRows({{1, true, 42, "plain"}});
    EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, fresh, c.mode), c.result) << c.what;
    EXPECT_EQ(fixture.table.exportedRecords, c.records) << c.what;
    if (c.result == 1)
      EXPECT_EQ(rowsOf(fresh.handle(), "SELECT count(*) FROM \"Shop \"\"T\"\"\""), std::vector<std::string>{"int:0"})
          << c.what;
  }
  // A name taken already, a table without columns: nothing can be created.
  EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, file, exporter::kModeSchemaOnly), 1);
  EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, file, exporter::kModeSchemaOnly), -1);
  fixture.table.columns.clear();
  fixture.table.name = "Empty";
  EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, file, exporter::kModeSchemaOnly), -1);
}

// The definition's key is declared while the rows keep it; rows that repeat a key or leave it
// empty are all written, into the table without the key.
TEST_F(SqliteTableExportTest, PrimaryKeyDeclaredUnlessTheRowsBreakIt) {
  struct Case {
    const char* what;
    std::vector<Row> rows;
    std::vector<std::string> keyColumns;  // pragma table_info: name|pk|notnull of the key's columns
    int records;
    std::vector<std::string> indexes;  // name|unique of the indexes made besides the key
  };
  const Case cases[] = {
      {"distinct keys",
       {{1, true, 42, "a"}, {3, false, 7, "b"}},
       {"text:id|int:2|int:1", "text:note|int:1|int:1"},
       2,
       {"text:Shop \"T\"_ByFlag|int:0", "text:Shop \"T\"_ByNote|int:1"}},
      // A note repeated: the unique index on it is made without UNIQUE.
      {"a key repeated",
       {{1, true, 42, "a"}, {1, false, 7, "a"}},
       {},
       2,
       {"text:Shop \"T\"_ByFlag|int:0", "text:Shop \"T\"_ByNote|int:0", "text:Shop \"T\"_PrimaryKey|int:0"}},
      // An empty key: no primary key, but a unique index holds (empty values never clash).
      {"a key left empty",
       {{1, true, 42, "a"}, {0, false, 0, "", 0, true}},
       {},
       2,
       {"text:Shop \"T\"_ByFlag|int:0", "text:Shop \"T\"_ByNote|int:1", "text:Shop \"T\"_PrimaryKey|int:1"}},
  };
  for (const auto& c : cases) {
    exporter::SqliteFile fresh;
    TempFolder place;
    ASSERT_TRUE(fresh.create(place.file("k.sqlite")));
    fixture.table.dataPages.clear();
    openWithRows(c.rows);
    fixture.table.indexes = {analysis::TableIndex{"PrimaryKey", {3, 0}, true, analysis::TableIndex::kPrimaryKey},
                             analysis::TableIndex{"ByNote", {3}, true}, analysis::TableIndex{"ByFlag", {1}, false}};
    EXPECT_EQ(exporter::ExportTableToSqlite(fixture.recovery(), fixture.table, fresh, exporter::kModeSchemaAndData), 1)
        << c.what;
    EXPECT_EQ(fixture.table.exportedRecords, c.records) << c.what;
    EXPECT_EQ(rowsOf(fresh.handle(), "SELECT count(*) FROM \"Shop \"\"T\"\"\""),
              std::vector<std::string>{"int:" + std::to_string(c.records)})
        << c.what;
    EXPECT_EQ(rowsOf(fresh.handle(),
                     "SELECT name, pk, \"notnull\" FROM pragma_table_info('Shop \"T\"') WHERE pk > 0 ORDER BY name"),
              c.keyColumns)
        << c.what;
    EXPECT_EQ(rowsOf(fresh.handle(),
                     "SELECT name, \"unique\" FROM pragma_index_list('Shop \"T\"') WHERE origin = 'c' "
                     "ORDER BY name"),
              c.indexes)
        << c.what;
  }
}

TEST_F(SqliteTableExportTest, RecoveredRowsGoIntoATableWithTheirState) {
  openWithRows({{1, true, 42, "plain"}, {2, false, 7, "gone", 0xC000}});
  fixture.table.indexes = {analysis::TableIndex{"PrimaryKey", {0}, true, analysis::TableIndex::kPrimaryKey}};
  int recovered = 0;
  EXPECT_EQ(exporter::ExportRecoveredRowsToSqlite(fixture.recovery(), fixture.table, file, recovered), 1);
  EXPECT_EQ(recovered, 1);
  EXPECT_EQ(rowsOf(file.handle(), "SELECT * FROM \"Shop \"\"T\"\"_deleted\""),
            std::vector<std::string>{"text:deleted|int:2|int:0|text:0.07|text:gone"});
  // A deleted row may repeat a live row's key: the table declares none.
  EXPECT_EQ(rowsOf(file.handle(), "SELECT count(*) FROM pragma_table_info('Shop \"T\"_deleted') WHERE pk > 0"),
            std::vector<std::string>{"int:0"});

  // Nothing recovered: no table.
  exporter::SqliteFile fresh;
  TempFolder place;
  ASSERT_TRUE(fresh.create(place.file("n.sqlite")));
  fixture.table.dataPages.clear();
  openWithRows({{1, true, 42, "plain"}});
  EXPECT_EQ(exporter::ExportRecoveredRowsToSqlite(fixture.recovery(), fixture.table, fresh, recovered), 1);
  EXPECT_EQ(recovered, 0);
  EXPECT_EQ(rowsOf(fresh.handle(), "SELECT count(*) FROM sqlite_master"), std::vector<std::string>{"int:0"});
}

}  // namespace
