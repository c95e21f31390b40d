// BuildQueries and the life of the temporary catalog database.
#include "queries/temp_catalog.h"

#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "queries/close_target.h"
#include "queries/query_reader.h"
#include "queries/sqlite_engine.h"
#include "support/execution_log.h"

namespace queries {

namespace {
constexpr const char* kTempDbName = "TempDb.mdb";
constexpr const char* kObjectsTable = "ASysObjects";
constexpr const char* kQueriesTable = "ASysQueries";
}  // namespace

bool CreateTempDatabase(analysis::MdbRecovery& recovery) {
  recovery.tempDbPath = platform::TempFilesFolder() + kTempDbName;
  CloseTarget(recovery);
  recovery.m_Obj_DAO_Database = MakeSqliteDatabase();
  CloseTarget(recovery);
  if (platform::FileExists(recovery.tempDbPath)) platform::DeleteFile(recovery.tempDbPath);
  try {
    auto& database = *recovery.m_Obj_DAO_Database;
    database.Create(recovery.tempDbPath, engine::kEngineLocale, 0);
    database.Close();
    database.Open(recovery.tempDbPath, true, false, "");
    // Where an Access database would get its password: SQLite has none. The file was created
    // readable by its owner only (0600) and the exclusive open above holds a lock on it until
    // DropTempDatabase, so no other program reads or changes it meanwhile.
    return true;
  } catch (...) {
    support::LogError(recovery.tempDbPath + " database creation failed");
    return false;
  }
}

void CopyCatalogTables(analysis::MdbRecovery& recovery, const TableCopier& copyTable) {
  for (analysis::Table& table : analysis::g_tables) {
    if (table.name == kQueriesTable) {
      // The copy gets the fixed definition; the table found in the file keeps its own statement.
      analysis::Table queriesTable = table;
      queriesTable.createStatement = kQueriesTableStatement;
      copyTable(recovery, queriesTable);
    } else if (table.name == kObjectsTable) {
      copyTable(recovery, table);
    }
  }
}

void DropTempDatabase(analysis::MdbRecovery& recovery) {
  CloseTarget(recovery);
  if (!recovery.tempDbPath.empty()) platform::DeleteFile(recovery.tempDbPath);
}

void BuildQueries(analysis::MdbRecovery& recovery, const TableCopier& copyTable) {
  if (CreateTempDatabase(recovery)) {
    CopyCatalogTables(recovery, copyTable);
    ReadQueries(recovery);
  } else {
    recovery.channel->done = 1;
  }
  DropTempDatabase(recovery);
}

}  // namespace queries
