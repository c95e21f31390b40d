// ExportQueryToFile.
#include "queries/query_script.h"

#include "platform/file_system.h"
#include "platform/file_write.h"
#include "support/file_name.h"

namespace queries {

bool ExportQueryToFile(const analysis::Queries& query, const std::string& exportFolder, const std::string& fileTitle) {
  if (platform::CreateFolder(exportFolder)) return false;  // it had not existed: nothing to write into
  const std::string path = platform::JoinPath(platform::JoinPath(exportFolder, "Queries"), fileTitle + ".sql");
  return platform::WriteTextFile(path, "\n\n" + query.sqlText);
}

bool ExportQueryToFile(const analysis::Queries& query, const std::string& exportFolder) {
  return ExportQueryToFile(query, exportFolder, support::SafeFileName(query.name));
}

}  // namespace queries
