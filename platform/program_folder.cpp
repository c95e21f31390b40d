// Program and temporary-file folders.
#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <unistd.h>

#include "platform/file_system.h"

namespace platform {

namespace {
std::mutex g_folderMutex;
std::string g_programFolder;
std::string g_tempFolder;

std::string withSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string defaultProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    std::string folder = exe.parent_path().string();
    if (::access(folder.c_str(), W_OK) == 0) return withSlash(folder);
  }
  std::string state;
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg) {
    state = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    state = JoinPath(home, ".local/state");
  } else {
    state = "/tmp";
  }
  std::string folder = JoinPath(state, "korvane-dunmere");
  CreateFolders(folder);
  return withSlash(folder);
}
}  // namespace

std::string ProgramFolder() {
  std::lock_guard<std::mutex> lock(g_folderMutex);
  if (g_programFolder.empty()) g_programFolder = defaultProgramFolder();
  return g_programFolder;
}

void SetProgramFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_folderMutex);
  g_programFolder = withSlash(folder);
}

std::string TempFilesFolder() {
  {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    if (!g_tempFolder.empty()) return g_tempFolder;
  }
  return ProgramFolder();
}

void SetTempFilesFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_folderMutex);
  g_tempFolder = withSlash(folder);
}

}  // namespace platform
