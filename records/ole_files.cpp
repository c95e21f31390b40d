// OLE object files.
#include "records/ole_files.h"

#include <cstdio>
#include <mutex>

#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace records {

namespace {
std::mutex folderMutex;
std::string chosenFolder;
}  // namespace

std::string OleFilesFolder() {
  std::lock_guard<std::mutex> lock(folderMutex);
  return chosenFolder.empty() ? platform::JoinPath(platform::TempFilesFolder(), "TempOLeFiles") : chosenFolder;
}

void SetOleFilesFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(folderMutex);
  chosenFolder = folder;
}

std::string WriteOleFile(int32_t number, const std::string& extension, const std::vector<uint8_t>& data) {
  const std::string folder = OleFilesFolder();
  platform::CreateFolder(folder);
  const std::string path = platform::JoinPath(folder, "Ole" + std::to_string(number) + "." + extension);
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
  }
  return path;
}

}  // namespace records
