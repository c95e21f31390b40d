// Test entry point: every test run writes its logs and temporary files into a private folder,
// never beside the build.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "support/execution_log.h"

namespace {
class PrivateProgramFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = platform::MakePrivateTempFolder("tessaly-test-");
    platform::SetProgramFolder(folder_);
    support::SetLogFolder(folder_);
  }
  void TearDown() override {
    if (!folder_.empty()) platform::DeleteFolderTree(folder_);
  }

 private:
  std::string folder_;
};
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new PrivateProgramFolder);
  return RUN_ALL_TESTS();
}
