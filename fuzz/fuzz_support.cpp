// Fuzz target support.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <unistd.h>

#include "export/analysis_steps.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/program_folder.h"
#include "records/ole_files.h"

namespace fuzzsupport {

namespace {
class SilentSink : public platform::MessageSink {
 public:
  void showMessage(const std::string&, const std::string&) override {}
};

std::string scratchFolder() {
  static const std::string folder = [] {
    std::string f = platform::MakePrivateTempFolder("tessaly-fuzz-");
    platform::SetProgramFolder(f);
    platform::SetTempFilesFolder(f);
    return f;
  }();
  return folder;
}
}  // namespace

analysis::MdbRecovery& Recovery() {
  static SilentSink sink;
  static analysis::ProgressChannel channel;
  static analysis::MdbRecovery* recovery = [] {
    scratchFolder();
    platform::InstallMessageSink(&sink);
    channel.setUnattended(true);
    auto* made = new analysis::MdbRecovery(channel);
    exporter::InstallAnalysisSteps(*made);
    return made;
  }();
  recovery->Channel().reset();
  return *recovery;
}

analysis::MdbRecovery& PageRecovery() {
  analysis::MdbRecovery& recovery = Recovery();
  recovery.format = analysis::kStorageFormat4;
  recovery.layout = analysis::Jet4Layout();
  return recovery;
}

std::string WriteScratchFile(const uint8_t* data, size_t size, const char* extension) {
  std::string path = platform::JoinPath(scratchFolder(), std::string("input") + extension);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

bool OpenScannedFile(analysis::MdbRecovery& recovery, const std::vector<uint8_t>& bytes) {
  const std::string path = WriteScratchFile(bytes.data(), bytes.size(), ".mdb");
  if (!recovery.OpenDatabaseFile(path)) return false;
  recovery.format = analysis::kStorageFormat4;
  recovery.layout = analysis::Jet4Layout();
  return recovery.ScanPages() >= 0;
}

void RemoveObjectFiles() {
  const std::string folder = records::OleFilesFolder();
  if (platform::FolderExists(folder)) platform::DeleteFolderTree(folder);
}

}  // namespace fuzzsupport
