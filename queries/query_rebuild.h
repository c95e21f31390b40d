// Rebuilding one saved query's SQL text from its rows in the temporary catalog database.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "queries/query_row.h"

namespace queries {

// The rows of the query with this object id, in the order the engine returns them. On an
// engine failure "RecordSet select query failed.. \r\n" and the SELECT text go to the error
// log and the rows read so far are returned.
std::vector<QueryRow> ReadQueryRows(analysis::MdbRecovery& recovery, int objectId);

// The query's SQL text, assembled from its rows (from those read so far after a failure).
std::string RebuildQuerySql(analysis::MdbRecovery& recovery, int objectId);

}  // namespace queries
