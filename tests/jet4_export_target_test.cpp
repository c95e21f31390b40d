// The Access export target without a chosen engine is written by our Jet 4 writer: the file
// that CreateTarget names appears on CloseTarget as a database our analyzer and mdbtools open.
#include <gtest/gtest.h>

#include "analysis/mdb_recovery.h"
#include "engine/engine.h"
#include "export/access_target.h"
#include "platform/file_system.h"
#include "tests/support/corpus.h"
#include "tests/support/peer_readers.h"

namespace {

TEST(Jet4ExportTargetTest, DefaultTargetIsAJet4Database) {
  testsupport::TempFolder folder;
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  std::string path;
  ASSERT_EQ(exporter::CreateTarget(recovery, folder.path(), "Shop", &path), 1);
  ASSERT_NE(recovery.m_Obj_DAO_Database, nullptr);
  EXPECT_TRUE(recovery.m_Obj_DAO_Database->IsOpen());
  recovery.m_Obj_DAO_Database->Execute("CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50)\r\n);");
  EXPECT_FALSE(platform::FileExists(path));  // written under a temporary name until closed
  EXPECT_EQ(exporter::CloseTarget(recovery), 1);
  ASSERT_TRUE(platform::FileExists(path));

  analysis::MdbRecovery reader(channel);
  ASSERT_TRUE(reader.OpenDatabaseFile(path));
  EXPECT_EQ(reader.DetectFormat(), analysis::kStorageFormat4);
  if (testsupport::MdbToolsUnavailable().empty()) {
    EXPECT_EQ(testsupport::MdbToolsTables(path), std::vector<std::string>{"T"});
  }
}

}  // namespace
