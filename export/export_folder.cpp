// Preparing the CSV export folder.
#include "export/export_folder.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace exporter {

std::string CsvExportFolderName() {
  const platform::DateTimeParts date = platform::UtcNow();
  const platform::DateTimeParts time = platform::LocalNow();
  char name[128];
  std::snprintf(name, sizeof name, "Korvane_Selbrin_(DATE=%d-%d-%d)_(TIME=%dhr.%dm.%ds)", date.month, date.day,
                date.year, time.hour, time.minute, time.second);
  return name;
}

std::string PrepareCsvExportFolder(const std::string& destination) {
  const std::string folder = platform::JoinPath(destination, CsvExportFolderName());
  if (!platform::CreateFolder(folder)) {
    // Only an export of this very second can have made it: it is ours to replace.
    if (!platform::DeleteFolderTree(folder)) {
      for (const auto& name : platform::ListFolder(folder)) platform::DeleteFile(platform::JoinPath(folder, name));
    }
    platform::CreateFolder(folder);
  }
  platform::CreateFolder(platform::JoinPath(folder, kTablesFolder));
  platform::CreateFolder(platform::JoinPath(folder, kQueriesFolder));
  return folder;
}

}  // namespace exporter
