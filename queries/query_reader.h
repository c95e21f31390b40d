// Reading the saved queries back from the temporary catalog database: each query object gets
// its rebuilt SQL, is kept in g_queries and is handed to the progress window.
#pragma once

#include <memory>
#include <string>

#include "analysis/mdb_recovery.h"

namespace queries {

// Reads every query object (Type 5 in its low 7 bits) of ASysObjects, rebuilds and publishes
// each with its name ("Recovered Query %d" when the catalog row lost it), and finally sets the
// channel's done flag. An engine failure ends the reading with
// "RecordSet select query failed.. \r\n" and the SELECT text in the error log; the queries
// published before it stay.
void ReadQueries(analysis::MdbRecovery& recovery);

// A query name Access gives the record source of a form, a report or a control ("~sq_...").
bool IsHiddenQueryName(const std::string& name);

// The two-step query handshake: the first hand-over lets the window's table loop reach its
// query phase, the second hands the query itself.
analysis::Queries* PublishQuery(analysis::ProgressChannel& channel, std::unique_ptr<analysis::Queries> query);

}  // namespace queries
