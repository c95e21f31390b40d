// The SQLite backend keeps the promises of the engine interface that the catalog copy, the
// query reader and the Access export rely on.
#include "queries/sqlite_engine.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstring>

#include "support/value_builders.h"
#include "tests/support/corpus.h"

namespace {

using engine::EngineError;

constexpr const char* kQueriesTable =
    "CREATE TABLE [ASysQueries]([ObjectId] COUNTER,[Attribute] INT, [Order] INT,[Name1] TEXT(255), [Name2] "
    "TEXT(255), [Expression] MEMO, [Flag] INT, [LvExtra] LONG);";

std::shared_ptr<engine::EngineDatabase> CreatedDatabase(const std::string& path) {
  auto database = queries::MakeSqliteDatabase();
  database->Create(path, engine::kEngineLocale, 0);
  return database;
}

TEST(SqliteEngine, CreatesPrivateFilesAndNeverOverwrites) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("TempDb.mdb");
  auto database = CreatedDatabase(path);
  EXPECT_TRUE(database->IsOpen());
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  database->Close();
  EXPECT_FALSE(database->IsOpen());
  EXPECT_THROW(queries::MakeSqliteDatabase()->Create(path, engine::kEngineLocale, 0), engine::EngineError);
}

TEST(SqliteEngine, ExclusiveOpenKeepsOtherProgramsOut) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("TempDb.mdb");
  auto database = CreatedDatabase(path);
  database->Close();
  database->Open(path, true, false, "");
  database->Execute(kQueriesTable);

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  EXPECT_NE(sqlite3_exec(other, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_THROW(queries::MakeSqliteDatabase()->Open(path, true, false, ""), engine::EngineError);

  database->Close();
  EXPECT_EQ(sqlite3_exec(other, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
}

TEST(SqliteEngine, RefusesWhatIsNotADatabase) {
  testsupport::TempFolder folder;
  testsupport::WriteWholeFile(folder.file("x.mdb"), std::vector<uint8_t>(4096, 0x41));
  EXPECT_THROW(queries::MakeSqliteDatabase()->Open(folder.file("x.mdb"), true, false, ""), engine::EngineError);
  EXPECT_THROW(queries::MakeSqliteDatabase()->Open(folder.file("missing.mdb"), true, false, ""), engine::EngineError);
}

TEST(SqliteEngine, RunsOurSchemaStatementsAndReportsTypeCodesFromDeclaredTypes) {
  testsupport::TempFolder folder;
  auto database = CreatedDatabase(folder.file("t.mdb"));
  database->Execute(
      "CREATE TABLE [All Types] \r\n(\r\n\t[ID] COUNTER, \r\n\t[b] BIT, \r\n\t[y] BYTE, \r\n\t[i] INT, \r\n\t[l] LONG, "
      "\r\n\t[c] CURRENCY, \r\n\t[s] SINGLE, \r\n\t[d] DOUBLE, \r\n\t[t] DATE, \r\n\t[bin] BINARY, \r\n\t[txt] "
      "TEXT(50), \r\n\t[ole] OLEOBJECT, \r\n\t[m] MEMO, \r\n\t[g] GUID, \r\n\t[n] NUMERIC(18,2)\r\n);");
  auto recordset = database->NewRecordset();
  recordset->Open("select * from [All Types] where 1=-1");
  EXPECT_EQ(recordset->GetRecordCount(), 0);
  EXPECT_TRUE(recordset->IsEOF());
  const int expected[] = {4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 20};
  ASSERT_EQ(recordset->GetFieldCount(), 15);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(recordset->GetFieldInfo(i).m_nType, expected[i]) << i;
  EXPECT_EQ(recordset->GetFieldInfo(10).m_strName, "txt");
  EXPECT_THROW(recordset->GetFieldInfo(15), engine::EngineError);
  EXPECT_THROW(recordset->GetFieldValue(0), engine::EngineError);
  EXPECT_THROW(database->Execute("CREATE TABLE [Bad] ([x] UNKNOWN-DATATYPE = 0x13);"), engine::EngineError);
  EXPECT_THROW(database->Execute("CREATE TABLE [All Types] ([x] LONG);"), engine::EngineError);
}

TEST(SqliteEngine, AppendsRowsAndReadsThemBackExactly) {
  testsupport::TempFolder folder;
  auto database = CreatedDatabase(folder.file("t.mdb"));
  database->Execute(kQueriesTable);
  database->Execute("CREATE TABLE [Objects] ([Id] COUNTER, [LvExtra] OLEOBJECT);");
  const std::string withNul("CREATE TABLE T (a CHAR);\0junk", 29);
  {
    auto append = database->NewRecordset();
    append->Open("select * from [ASysQueries] where 1=-1");
    append->AddNew();
    append->SetFieldValue("ObjectId", support::TextValue("-2147483640"));
    append->SetFieldValue("attribute", support::TextValue("6"));  // names are matched without regard to case
    append->SetFieldValue("Expression", support::TextValue(withNul));
    append->SetFieldValue("Name1", support::TextValue("O'Brien \"quoted\"\r\nnext line \\"));
    EXPECT_THROW(append->SetFieldValue("NoSuchColumn", support::TextValue("1")), engine::EngineError);
    append->Update();
    EXPECT_THROW(append->Update(), engine::EngineError);  // nothing pending any more
    append->AddNew();
    append->Update();  // a record of nulls only
    append->Close();

    auto objects = database->NewRecordset();
    objects->Open("select * from [Objects] where 1=-1");
    objects->AddNew();
    objects->SetFieldValue("LvExtra", support::TextValue(std::string("\x00\xff\x01", 3)));
    objects->Update();
  }
  auto read = database->NewRecordset();
  read->Open("Select * from ASysQueries where ObjectId = -2147483640");
  ASSERT_EQ(read->GetRecordCount(), 1);
  EXPECT_EQ(read->GetFieldValue(0).text, "-2147483640");
  EXPECT_EQ(read->GetFieldValue(1).text, "6");
  EXPECT_TRUE(read->GetFieldValue(2).isNull);
  EXPECT_EQ(read->GetFieldValue(3).text, "O'Brien \"quoted\"\r\nnext line \\");
  EXPECT_EQ(read->GetFieldValue(5).text, withNul);
  EXPECT_EQ(read->GetFieldInfo(5).m_nType, engine::kEngineMemo);
  read->MoveNext();
  EXPECT_TRUE(read->IsEOF());
  EXPECT_THROW(read->MoveNext(), engine::EngineError);

  auto blob = database->NewRecordset();
  blob->Open("select LvExtra, Id, 1+1 from [Objects]");
  ASSERT_FALSE(blob->IsEOF());
  EXPECT_EQ(blob->GetFieldValue(0).text, std::string("\x00\xff\x01", 3));
  EXPECT_EQ(blob->GetFieldInfo(0).m_nType, engine::kEngineLongBinary);
  EXPECT_TRUE(blob->GetFieldValue(1).isNull);
  EXPECT_EQ(blob->GetFieldInfo(2).m_nType, engine::kEngineLong);  // an expression: typed by its value
  EXPECT_THROW(blob->AddNew(), engine::EngineError);              // not a recordset on one table

  auto none = database->NewRecordset();
  EXPECT_THROW(none->Open("select * from [Missing]"), engine::EngineError);
  EXPECT_THROW(none->Open("delete from [Objects]"), engine::EngineError);
}

// Typed values keep their kind: a double reads back as the same binary number, an empty binary
// value as an empty blob (not null), the text "NULL" as a text, currency and NUMERIC exactly.
TEST(SqliteEngine, StoresTypedValuesAsTheyAre) {
  using support::ValueKind;
  testsupport::TempFolder folder;
  auto database = CreatedDatabase(folder.file("t.mdb"));
  database->Execute(
      "CREATE TABLE [V] ([d] DOUBLE, [s] SINGLE, [bin] BINARY, [ole] OLEOBJECT, [txt] TEXT(50), [c] CURRENCY, [n] "
      "NUMERIC(28,6), [l] LONG, [g] GUID);");
  const double negative = -1234.56789012345;
  const float tiny = -1.2e-5f;
  const std::vector<uint8_t> guid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  {
    auto append = database->NewRecordset();
    append->Open("select * from [V] where 1=-1");
    append->AddNew();
    append->SetFieldValue("d", support::RealValue(ValueKind::kDouble, negative));
    append->SetFieldValue("s", support::RealValue(ValueKind::kSingle, static_cast<double>(tiny)));
    append->SetFieldValue("bin", support::BytesValue(ValueKind::kBinary, {}));
    append->SetFieldValue("ole", support::BytesValue(ValueKind::kLongBinary, {0x15, 0x1c, 0x00}));
    append->SetFieldValue("txt", support::TextValue("NULL"));
    append->SetFieldValue("c", support::IntegerValue(ValueKind::kCurrency, -123456789));
    // SQLite keeps 15 significant digits of a number in a NUMERIC column (its numeric affinity).
    append->SetFieldValue("n", support::NumericOf(true, 28, 6, "123456789012345"));
    append->SetFieldValue("l", support::IntegerValue(ValueKind::kInt32, -7));
    append->SetFieldValue("g", support::BytesValue(ValueKind::kGuid, guid));
    append->Update();
    append->AddNew();
    append->SetFieldValue("l", support::Value{});
    append->Update();
  }
  sqlite3* handle = nullptr;
  database->Close();
  ASSERT_EQ(sqlite3_open_v2(folder.file("t.mdb").c_str(), &handle, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* row = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(handle, "select d, s, bin, ole, txt, c, n, l, g from V order by rowid", -1, &row, nullptr),
      SQLITE_OK);
  ASSERT_EQ(sqlite3_step(row), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_double(row, 0), negative);
  EXPECT_EQ(static_cast<float>(sqlite3_column_double(row, 1)), tiny);
  EXPECT_EQ(sqlite3_column_type(row, 2), SQLITE_BLOB);
  EXPECT_EQ(sqlite3_column_bytes(row, 2), 0);
  EXPECT_EQ(sqlite3_column_bytes(row, 3), 3);
  EXPECT_EQ(sqlite3_column_type(row, 4), SQLITE_TEXT);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(row, 4)), "NULL");
  EXPECT_EQ(sqlite3_column_double(row, 5), -12345.6789);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(row, 6)), "-123456789.012345");
  EXPECT_EQ(sqlite3_column_int64(row, 7), -7);
  ASSERT_EQ(sqlite3_column_bytes(row, 8), 16);
  EXPECT_EQ(std::memcmp(sqlite3_column_blob(row, 8), guid.data(), 16), 0);
  ASSERT_EQ(sqlite3_step(row), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_type(row, 7), SQLITE_NULL);
  sqlite3_finalize(row);
  sqlite3_close(handle);
}

TEST(SqliteEngine, ClosedDatabaseFailsCleanly) {
  testsupport::TempFolder folder;
  auto database = CreatedDatabase(folder.file("t.mdb"));
  database->Execute(kQueriesTable);
  auto recordset = database->NewRecordset();
  recordset->Open("select * from [ASysQueries] where 1=-1");
  database->Close();
  EXPECT_THROW(recordset->AddNew(), engine::EngineError);
  EXPECT_THROW(recordset->GetRecordCount(), engine::EngineError);
  EXPECT_THROW(database->Execute(kQueriesTable), engine::EngineError);
  EXPECT_THROW(database->NewRecordset(), engine::EngineError);
  EXPECT_NO_THROW(database->Close());
}

}  // namespace
