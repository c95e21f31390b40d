// The logs: header block, line form, append-only.
#include "support/execution_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ExecutionLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = platform::MakePrivateTempFolder("tessaly-log-");
    previous_ = support::LogFolder();
    support::SetLogFolder(folder_);
    platform::DateTimeParts fixed{2026, 3, 5, 9, 7, 3};
    platform::SetClockForTesting([fixed] { return fixed; }, [fixed] { return fixed; });
  }
  void TearDown() override {
    platform::SetClockForTesting(nullptr, nullptr);
    support::SetLogFolder(previous_);
    platform::DeleteFolderTree(folder_);
  }
  std::string errorLog() const { return readFile(folder_ + "/Log Files/ErrorLog.log"); }
  std::string execLog() const { return readFile(folder_ + "/Log Files/ExecLog.log"); }

  std::string folder_, previous_;
};

TEST_F(ExecutionLogTest, HeaderWithUnpaddedDateAndTimeInBothLogs) {
  support::ExecutionLog log;
  const std::string rule(79, '=');
  const std::string header = rule + "\nLast Log On\nDate : 5/3/2026\nTime : 9:7:3\n" + rule + "\n";
  EXPECT_EQ(errorLog(), header);
  EXPECT_EQ(execLog(), header);
}

TEST_F(ExecutionLogTest, LinesAppendAndNothingIsTruncated) {
  support::ExecutionLog first;
  EXPECT_TRUE(support::WriteLogLine(0, 0, "Database was not opened", true));
  EXPECT_TRUE(support::WriteLogLine(0, 0, "Export started  : T", false));
  support::ExecutionLog second;
  EXPECT_TRUE(support::LogError("Create table query failed.. \r\nCREATE TABLE [T]"));

  const std::string error = errorLog();
  EXPECT_NE(error.find("Code:0  Error:0  MSG:Database was not opened\n"), std::string::npos);
  EXPECT_NE(error.find("MSG:Create table query failed.. \r\nCREATE TABLE [T]\n"), std::string::npos);
  EXPECT_EQ(error.find("Export started"), std::string::npos);
  EXPECT_NE(execLog().find("Code:0  Error:0  MSG:Export started  : T\n"), std::string::npos);
  size_t headers = 0;
  for (size_t at = error.find("Last Log On"); at != std::string::npos; at = error.find("Last Log On", at + 1))
    ++headers;
  EXPECT_EQ(headers, 2u);
}

TEST_F(ExecutionLogTest, MissingFolderWritesNothing) {
  support::SetLogFolder(folder_ + "/does-not-exist");
  EXPECT_FALSE(support::WriteLogLine(0, 0, "lost", true));
}

}  // namespace
