// CLI run set-up and clean-up.
#include "cli/session.h"

#include "cli/password_input.h"
#include "export/analysis_steps.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "support/execution_log.h"

namespace cli {

Session::Session() {
  support::SetLogFolder(platform::ProgramFolder());
  tempFolder_ = platform::MakePrivateTempFolder("tessaly-cli-");
  if (!tempFolder_.empty()) platform::SetTempFilesFolder(tempFolder_);
  recovery_ = std::make_unique<analysis::MdbRecovery>();
  exporter::InstallAnalysisSteps(*recovery_);
  recovery_->passwordSource = CliPasswordSource();
}

Session::~Session() {
  recovery_.reset();
  if (!tempFolder_.empty()) {
    platform::DeleteFolderTree(tempFolder_);
    platform::SetTempFilesFolder("");
  }
}

}  // namespace cli
