// Locating the shared corpus and small file helpers for tests.
#include "tests/support/corpus.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace testsupport {

namespace {
std::string sharedSubfolder(const char* variable, const char* name) {
  if (const char* env = std::getenv(variable); env && *env) return fs::is_directory(env) ? env : "";
  std::string dir = std::string(TESSALY_SHARED_DIR) + "/" + name;
  return fs::is_directory(dir) ? dir : "";
}

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}
}  // namespace

std::string CorpusDir() {
  return sharedSubfolder("TESSALY_CORPUS", "corpus");
}
std::string BenchDir() {
  return sharedSubfolder("TESSALY_BENCH", "bench");
}

std::vector<std::string> CorpusDatabases() {
  std::string dir = CorpusDir();
  if (dir.empty()) return {};
  std::vector<std::string> files = filesIn(dir + "/jet4");
  std::vector<std::string> ace = filesIn(dir + "/ace");
  files.insert(files.end(), ace.begin(), ace.end());
  return files;
}

std::vector<std::string> Jet3Databases() {
  std::string dir = CorpusDir();
  return dir.empty() ? std::vector<std::string>{} : filesIn(dir + "/jet3");
}

std::string CorpusFile(const std::string& relative) {
  std::string dir = CorpusDir();
  if (dir.empty()) return {};
  std::string path = dir + "/" + relative;
  return fs::exists(path) ? path : "";
}

nlohmann::json ExpectedJson(const std::string& databasePath) {
  std::string path = CorpusDir() + "/expected/" + fs::path(databasePath).filename().string() + ".json";
  std::ifstream in(path);
  if (!in) return nlohmann::json();
  return nlohmann::json::parse(in, nullptr, false);
}

std::vector<PeerReadFile> PeerReadDatabases() {
  std::vector<PeerReadFile> files;
  for (const auto& path : CorpusDatabases()) {
    nlohmann::json expected = ExpectedJson(path);
    if (expected.is_object()) files.push_back({path, fs::path(path).filename().string(), std::move(expected)});
  }
  return files;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void CreateFolderForTest(const std::string& path) {
  platform::CreateFolders(path);
}

TempFolder::TempFolder() : path_(platform::MakePrivateTempFolder("tessaly-t-")) {}
TempFolder::~TempFolder() {
  if (!path_.empty()) platform::DeleteFolderTree(path_);
}

}  // namespace testsupport
