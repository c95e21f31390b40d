// Analyze: the whole analysis of one file, from opening it to the saved queries.
#include "analysis/mdb_recovery.h"

namespace analysis {

namespace {
constexpr int64_t kMaxFirstPageOffset = 24576;  // six pages of 4096 bytes
constexpr const char* kHighlyCorrupted = " This file is highly corrupted and cannot be recovered. ";
}  // namespace

bool MdbRecovery::Analyze(const std::string& filePath) {
  path = filePath;
  if (path.empty()) return false;
  if (!OpenDatabaseFile(path)) return false;
  if (!UnlockFile()) return false;

  const int detected = DetectFormat();
  if (detected == 0) return false;
  int64_t firstPageOffset = -1;
  if (detected < 0) {
    FindPageSignatures();
    firstPageOffset = FindFirstValidPageOffset();
    if (firstPageOffset < 0 || firstPageOffset > kMaxFirstPageOffset) {
      channel->fatalStop(kHighlyCorrupted);
      return false;
    }
  }

  format = kStorageFormat4;
  layout = Jet4Layout();
  channel->setStorageFormat(path.find(".mdb") != std::string::npos ? "MS-Access 2003" : "MS-Access 2007");

  if (channel->publishStatus("Analyzing started")) return false;

  // Page 1 at 4096 is the normal alignment; elsewhere the pages are read from where page 1 lies.
  if (detected == kStorageFormat4 || firstPageOffset == kPageSize)
    ScanPages();
  else
    ScanPagesFromOffset(static_cast<uint64_t>(firstPageOffset));

  DiscoverTables();
  if (steps.buildSchemaStatements) steps.buildSchemaStatements(*this);
  if (steps.buildQueries) steps.buildQueries(*this);

  channel->setStatusText("Initializing Tables.....");
  channel->updateProgStatusEvent.set();
  return true;
}

}  // namespace analysis
