// Closing the engine database object, which holds the temporary catalog database during an
// analysis and the Access export target during an export, with the error-log lines that tell
// which happened.
#pragma once

#include "analysis/mdb_recovery.h"

namespace queries {

// Closes m_Obj_DAO_Database when it is open and releases the object ("Database was opened",
// "Database is closed", "close_Export_To_MSAccessDB :: AfxDaoTerm "), else logs "Database was not opened". 1, or -1
// with "Database closing failed" when the engine failed.
int CloseTarget(analysis::MdbRecovery& recovery);

}  // namespace queries
