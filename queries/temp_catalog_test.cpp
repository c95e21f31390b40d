// BuildQueries end to end over a copier that writes rows the way the Access export does: the
// temporary database's life, which tables are copied, and the queries published.
#include "queries/temp_catalog.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <iterator>
#include <map>

#include "analysis/progress_loops.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "queries/query_reader.h"
#include "support/execution_log.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"
#include "tests/support/query_catalog.h"

namespace {

using testsupport::CatalogQueryRow;
using testsupport::kNullFlag;

class BuildQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousLogFolder_ = support::LogFolder();
    support::SetLogFolder(folder_.path());
    testsupport::CreateFolderForTest(folder_.file("Log Files"));
    platform::SetTempFilesFolder(folder_.path());
    analysis::g_tables.clear();
    analysis::g_queries.clear();
    channel_.reset();
  }
  void TearDown() override {
    analysis::g_tables.clear();
    analysis::g_queries.clear();
    platform::SetTempFilesFolder("");
    support::SetLogFolder(previousLogFolder_);
  }

  void addTable(const std::string& name, const std::string& statement) {
    analysis::Table table;
    table.name = name;
    table.createStatement = statement;
    analysis::g_tables.push_back(table);
  }

  // The catalog tables: saved queries (one whose type carries a high flag bit), a form's record
  // source without an extra long value, an object that lost its name, and a form.
  void addCatalog() {
    addTable("ASysObjects", testsupport::kCatalogObjectsStatement);
    addTable("ASysQueries", "CREATE TABLE [ASysQueries] \r\n(\r\n\t[ObjectId] LONG\r\n);");
  }

  // Stands in for the Access export: creates the table, appends its rows, sets done.
  queries::TableCopier copier() {
    return [this](analysis::MdbRecovery& recovery, analysis::Table& table) {
      copied_.emplace_back(table.name, table.createStatement);
      struct stat info {};
      stat(recovery.tempDbPath.c_str(), &info);
      fileModes_.push_back(info.st_mode & 0777);
      auto& database = *recovery.m_Obj_DAO_Database;
      try {
        database.Execute(table.createStatement);
      } catch (...) {
        return -1;
      }
      if (table.name == "ASysObjects") {
        testsupport::InsertQueryObject(database, -2147483640, "Big Orders");
        testsupport::InsertQueryObject(database, 12, "A form", std::string("x"), -32768);
        testsupport::InsertQueryObject(database, -2147483639, "~sq_fOrders", std::nullopt);
        testsupport::InsertQueryObject(database, -2147483638, "Old Rows", std::string("x"), -32763);  // 0x8005
        testsupport::InsertQueryObject(database, -2147483637, "", std::nullopt);
      } else {
        testsupport::InsertQueryRows(database, -2147483640,
                                     {{5, kNullFlag, "Orders", {}, {}},
                                      {6, 0, {}, {}, "Orders.ID"},
                                      {8, kNullFlag, {}, {}, "Orders.Total>100"}});
        testsupport::InsertQueryRows(database, -2147483639, {{5, kNullFlag, "Orders", {}, {}}, {3, 1, {}, {}, {}}});
        testsupport::InsertQueryRows(database, -2147483638,
                                     {{1, 5, {}, {}, {}}, {5, kNullFlag, "Orders", {}, {}}, {3, 1, {}, {}, {}}});
      }
      recovery.channel->done = 1;
      return 1;
    };
  }

  // Runs BuildQueries with the window-side loops acknowledging every publication.
  void build() {
    analysis::ProgressLoops loops(channel_, view_);
    loops.start();
    queries::BuildQueries(recovery_, copier());
    loops.stop();
  }

  std::string errorLog() const {
    const auto bytes = testsupport::ReadWholeFile(folder_.file("Log Files/ErrorLog.log"));
    return std::string(bytes.begin(), bytes.end());
  }

  testsupport::TempFolder folder_;
  std::string previousLogFolder_;
  analysis::ProgressChannel channel_;
  analysis::MdbRecovery recovery_{channel_};
  testsupport::RecordingView view_;
  std::vector<std::pair<std::string, std::string>> copied_;
  std::vector<unsigned> fileModes_;
};

TEST_F(BuildQueriesTest, PublishesEveryQueryObjectAndLeavesNoTemporaryFile) {
  addCatalog();
  build();
  struct Expected {
    int id;
    const char* name;
    const char* sql;
    bool hidden;
  } expected[] = {
      {-2147483640, "Big Orders", "SELECT Orders.ID  FROM [Orders] Where Orders.Total>100;", false},
      {-2147483639, "~sq_fOrders", "SELECT *  FROM [Orders] ;", true},
      {-2147483638, "Old Rows", "Delete *  FROM [Orders] ;", false},
      {-2147483637, "Recovered Query 1", "SELECT  FROM ;", false},
  };
  ASSERT_EQ(analysis::g_queries.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(analysis::g_queries[i]->id, expected[i].id) << i;
    EXPECT_EQ(analysis::g_queries[i]->name, expected[i].name) << i;
    EXPECT_EQ(analysis::g_queries[i]->sqlText, expected[i].sql) << i;
    EXPECT_EQ(analysis::g_queries[i]->hidden, expected[i].hidden) << i;
  }
  EXPECT_EQ(channel_.queriesFound.load(), 4);
  EXPECT_EQ(view_.queriesAdded(),
            (std::vector<std::string>{"Big Orders", "~sq_fOrders", "Old Rows", "Recovered Query 1"}));
  EXPECT_EQ(channel_.done.load(), 1);
  EXPECT_EQ(recovery_.tempDbPath, folder_.file("TempDb.mdb"));
  EXPECT_FALSE(platform::FileExists(recovery_.tempDbPath));
  EXPECT_EQ(recovery_.m_Obj_DAO_Database, nullptr);
  EXPECT_EQ(fileModes_, (std::vector<unsigned>{0600, 0600}));
}

TEST_F(BuildQueriesTest, CopiesOnlyTheTwoCatalogTablesByTheirExactNames) {
  addTable("asysobjects", "CREATE TABLE [asysobjects] ([x] LONG);");
  addTable("ASysObjects2", "CREATE TABLE [ASysObjects2] ([x] LONG);");
  addTable("Orders", "CREATE TABLE [Orders] ([x] LONG);");
  addCatalog();
  const std::string ownStatement = analysis::g_tables.back().createStatement;
  build();
  ASSERT_EQ(copied_.size(), 2u);
  EXPECT_EQ(copied_[0].first, "ASysObjects");
  EXPECT_EQ(copied_[1], std::make_pair(std::string("ASysQueries"), std::string(queries::kQueriesTableStatement)));
  EXPECT_EQ(analysis::g_tables.back().createStatement, ownStatement);  // the table found keeps its statement
}

TEST_F(BuildQueriesTest, AStaleTemporaryDatabaseIsReplacedByANewEmptyOne) {
  // A database left by an earlier run, holding a catalog table of its own and readable by all.
  sqlite3* stale = nullptr;
  ASSERT_EQ(sqlite3_open(folder_.file("TempDb.mdb").c_str(), &stale), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(stale, "CREATE TABLE ASysObjects (Id LONG)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(stale);
  chmod(folder_.file("TempDb.mdb").c_str(), 0644);
  addCatalog();
  build();
  EXPECT_EQ(analysis::g_queries.size(), 4u);  // both tables were created anew
  EXPECT_EQ(fileModes_, (std::vector<unsigned>{0600, 0600}));
  EXPECT_FALSE(platform::FileExists(folder_.file("TempDb.mdb")));
}

TEST_F(BuildQueriesTest, WithoutACatalogDoneIsStillSet) {
  addTable("Orders", "CREATE TABLE [Orders] ([x] LONG);");
  build();
  EXPECT_TRUE(copied_.empty());
  EXPECT_TRUE(analysis::g_queries.empty());
  EXPECT_EQ(channel_.done.load(), 1);
  EXPECT_FALSE(platform::FileExists(folder_.file("TempDb.mdb")));
  EXPECT_NE(errorLog().find("MSG:RecordSet select query failed.. \r\nselect LvExtra ,Id ,Name from ASysObjects "
                            "where (Type & 127) = 5\n"),
            std::string::npos);
}

TEST_F(BuildQueriesTest, WhenTheDatabaseCannotBeMadeNothingIsCopiedAndDoneIsSet) {
  // A folder that cannot be deleted stands where the database should go.
  testsupport::CreateFolderForTest(folder_.file("TempDb.mdb/keep"));
  addCatalog();
  build();
  EXPECT_TRUE(copied_.empty());
  EXPECT_TRUE(analysis::g_queries.empty());
  EXPECT_EQ(channel_.done.load(), 1);
  EXPECT_NE(errorLog().find("TempDb.mdb database creation failed"), std::string::npos);
  EXPECT_TRUE(platform::FolderExists(folder_.file("TempDb.mdb/keep")));
}

TEST_F(BuildQueriesTest, LogsTheCloseOfTheDatabase) {
  addCatalog();
  build();
  const std::string log = errorLog();
  const size_t opened = log.find("MSG:Database was opened\n");
  ASSERT_NE(opened, std::string::npos);
  EXPECT_NE(
      log.find("MSG:Database is closed\nCode:0  Error:0  MSG:close_Export_To_MSAccessDB :: AfxDaoTerm \n", opened),
      std::string::npos);
  EXPECT_NE(log.find("MSG:Database was not opened\n"), std::string::npos);
}

}  // namespace
