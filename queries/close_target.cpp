// CloseTarget.
#include "queries/close_target.h"

#include "engine/engine.h"
#include "support/execution_log.h"

namespace queries {

int CloseTarget(analysis::MdbRecovery& recovery) {
  try {
    auto& database = recovery.m_Obj_DAO_Database;
    if (database && database->IsOpen()) {
      support::LogError("Database was opened");
      database->Close();
      support::LogError("Database is closed");
      database.reset();  // ending the engine: the next creation makes a new database object
      support::LogError("close_Export_To_MSAccessDB :: AfxDaoTerm ");
    } else {
      support::LogError("Database was not opened");
    }
    return 1;
  } catch (...) {
    support::LogError("Database closing failed");
    return -1;
  }
}

}  // namespace queries
