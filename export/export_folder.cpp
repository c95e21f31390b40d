// Preparing the CSV export folder.
#include "export/export_folder.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace exporter {

namespace {
// Past this many, creation keeps failing for another reason (no such destination, no right).
constexpr int kMaxSameSecondFolders = 1000;
}  // namespace

std::string CsvExportFolderName() {
  const platform::DateTimeParts date = platform::UtcNow();
  const platform::DateTimeParts time = platform::LocalNow();
  char name[128];
  std::snprintf(name, sizeof name, "Korvane_Selbrin_(DATE=%d-%d-%d)_(TIME=%dhr.%dm.%ds)", date.month, date.day,
                date.year, time.hour, time.minute, time.second);
  return name;
}

std::string PrepareCsvExportFolder(const std::string& destination) {
  const std::string name = platform::JoinPath(destination, CsvExportFolderName());
  // An export of this very second (or a folder of the user's) may have the name already: the
  // new export takes the next free "(n)" instead of deleting what is there.
  std::string folder = name;
  for (int n = 2; !platform::CreateFolder(folder) && n < kMaxSameSecondFolders; ++n)
    folder = name + " (" + std::to_string(n) + ")";
  platform::CreateFolder(platform::JoinPath(folder, kTablesFolder));
  platform::CreateFolder(platform::JoinPath(folder, kQueriesFolder));
  return folder;
}

}  // namespace exporter
