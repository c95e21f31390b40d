// The JSON form of an analysis that `tessaly-cli analyze --json` prints. Its keys are read by
// other tools: keep them stable.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"

namespace cli {

nlohmann::json AnalysisToJson(const analysis::MdbRecovery& recovery, const std::string& path, bool ok,
                              const std::vector<std::string>& messages, const std::vector<std::string>& status);

// Adds to each table of the analysis JSON its "rows": {"live", "deleted", "freeSpace",
// "unreadable"}, counted over its live and freed pages.
void AddRowStateCounts(analysis::MdbRecovery& recovery, nlohmann::json& analysis);

// Adds "linkedTables": [{"name", "sourceTable", "database", "connect", "odbc"}], the tables whose
// rows live in another file or on a server (passwords in connect strings masked).
void AddLinkedTables(analysis::MdbRecovery& recovery, nlohmann::json& analysis);

}  // namespace cli
