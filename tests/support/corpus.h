// The shared corpus of real Access files, when this checkout sits beside it. Tests that need
// it call SkipWithoutCorpus() and skip with a clear message on a fresh clone.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testsupport {

// The corpus folder ($TESSALY_CORPUS, else ../shared/corpus beside the source tree); empty
// when it is missing.
std::string CorpusDir();
// Paths of the Jet 4 and ACE files (jet4/*, ace/*), sorted; empty without the corpus.
std::vector<std::string> CorpusDatabases();
std::vector<std::string> Jet3Databases();
// One corpus file by its name, e.g. "jet4/testV2003.mdb"; empty when missing.
std::string CorpusFile(const std::string& relative);
// expected/NAME.json (mdb-reader's reading) for a database path.
nlohmann::json ExpectedJson(const std::string& databasePath);
// A corpus file with the peer reader's reading of it.
struct PeerReadFile {
  std::string path;
  std::string name;  // the file's name, as the tests' messages show it
  nlohmann::json expected;
};
// The files of CorpusDatabases() that have an expected/NAME.json, in the same order.
std::vector<PeerReadFile> PeerReadDatabases();
// The bench folder ($TESSALY_BENCH, else ../shared/bench); empty when missing.
std::string BenchDir();

// Reads a whole file; empty when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
void CreateFolderForTest(const std::string& path);

// A private folder removed at destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace testsupport

#define SKIP_WITHOUT_CORPUS()                                                                   \
  do {                                                                                          \
    if (::testsupport::CorpusDir().empty())                                                     \
      GTEST_SKIP() << "shared corpus not found (../shared/corpus or $TESSALY_CORPUS): skipped"; \
  } while (0)
