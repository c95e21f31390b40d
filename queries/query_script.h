// Query script files: an export writes each selected saved query as "<name>.sql" in the
// "Queries" folder of its export folder.
#pragma once

#include <string>

#include "analysis/model.h"

namespace queries {

// Writes "\n\n" and the query's SQL text to exportFolder/Queries/<fileTitle>.sql, replacing
// an earlier file. Writes nothing when the export folder did not exist (it is created then, as
// the table export does) or the file cannot be opened. True when the file was written.
bool ExportQueryToFile(const analysis::Queries& query, const std::string& exportFolder, const std::string& fileTitle);
// The same with the query's name made safe as the file title (support::SafeFileName).
bool ExportQueryToFile(const analysis::Queries& query, const std::string& exportFolder);

}  // namespace queries
