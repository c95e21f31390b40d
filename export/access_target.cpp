// Creating and closing the Access export target, with the error-log lines that trace both.
#include "export/access_target.h"

#include <cstdio>
#include <mutex>

#include "jet4/jet4_engine.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "queries/close_target.h"
#include "support/execution_log.h"

namespace exporter {

namespace {
std::mutex g_factoryMutex;
EngineFactory g_factory;

std::shared_ptr<engine::EngineDatabase> makeEngineDatabase() {
  EngineFactory factory;
  {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    factory = g_factory;
  }
  // By default the target is written by our own Jet 4 writer.
  if (!factory) return jet4::MakeJet4Database();
  return factory();
}
}  // namespace

void SetTargetEngineFactory(EngineFactory factory) {
  std::lock_guard<std::mutex> lock(g_factoryMutex);
  g_factory = std::move(factory);
}

std::string TargetTimeStamp() {
  const platform::DateTimeParts date = platform::UtcNow();
  const platform::DateTimeParts time = platform::LocalNow();
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "On_%d-%d-%d__%dhr_%dm_%ds", date.month, date.day, date.year, time.hour,
                time.minute, time.second);
  return stamp;
}

std::string TargetFileName(const std::string& exportFolder, const std::string& fileTitle) {
  return platform::JoinPath(exportFolder, "Recovered_" + fileTitle + "_" + TargetTimeStamp() + ".accdb");
}

int CreateTarget(analysis::MdbRecovery& recovery, const std::string& exportFolder, const std::string& fileTitle,
                 std::string* targetPath) {
  std::string fileName;
  try {
    CloseTarget(recovery);
    recovery.m_Obj_DAO_Database = makeEngineDatabase();
    if (!recovery.m_Obj_DAO_Database) throw engine::EngineError("no database engine");
    fileName = TargetFileName(exportFolder, fileTitle);
    support::LogError("output file name : ");
    support::LogError(fileName);
    CloseTarget(recovery);
    // The engine refuses to create over a file; the check here keeps that true for every backend.
    if (platform::FileExists(fileName)) throw engine::EngineError("file exists");
    recovery.m_Obj_DAO_Database->Create(fileName, engine::kEngineLocale, 0);
  } catch (...) {
    platform::ShowMessageBox("Error creating database : " + fileName);
    support::LogError(fileName + " database creation failed");
    return -1;
  }
  if (targetPath) *targetPath = fileName;
  return 1;
}

// The temporary catalog database closes the same engine object the same way.
int CloseTarget(analysis::MdbRecovery& recovery) {
  return queries::CloseTarget(recovery);
}

}  // namespace exporter
