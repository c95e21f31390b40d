// File-system helpers on std::filesystem and POSIX.
#include "platform/file_system.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::create_directory(path, ec) && !ec;
}

bool CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::symlink_status(path, ec));
}

bool DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec) && !ec;
}

bool DeleteFolderTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  return !fs::exists(fs::symlink_status(path, ec));
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().string());
  return names;
}

bool AppendToFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string FileTitle(const std::string& path) { return fs::path(path).stem().string(); }

std::string MakePrivateTempFolder(const std::string& prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = JoinPath(base && *base ? base : "/tmp", prefix + "XXXXXX");
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) return {};
  return std::string(buffer.data());
}

}  // namespace platform
