// The writer through the engine interface: the life of a database file, what the engine
// refuses, and the first pages a new file must start with.
#include "jet4/jet4_engine.h"

#include <gtest/gtest.h>

#include "analysis/mdb_recovery.h"
#include "platform/file_system.h"
#include "support/byte_view.h"
#include "support/value_builders.h"
#include "tests/support/corpus.h"

namespace {

using engine::EngineError;
using testsupport::TempFolder;

constexpr const char* kTable = "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50)\r\n);";

TEST(Jet4EngineTest, NewFilePassesFormatDetection) {
  TempFolder folder;
  const std::string path = folder.file("new.accdb");
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  EXPECT_TRUE(db->IsOpen());
  db->Execute(kTable);
  db->Close();
  EXPECT_FALSE(db->IsOpen());

  const auto bytes = testsupport::ReadWholeFile(path);
  ASSERT_GE(bytes.size(), 6u * 4096);
  EXPECT_EQ(bytes.size() % 4096, 0u);
  const support::ByteView file(bytes);
  // The signature words of pages 0 to 5, the free-space words of the four system tables.
  const uint16_t expected[6][2] = {{0x0100, 0x0000}, {0x0101, 0},      {0x0102, 0x0BDE},
                                   {0x0102, 0x0EA9}, {0x0102, 0x0DEB}, {0x0102, 0x0CCB}};
  for (int page = 0; page < 6; ++page) {
    EXPECT_EQ(file.u16(page * 4096), expected[page][0]) << page;
    if (page == 1) continue;
    EXPECT_EQ(file.u16(page * 4096 + 2), expected[page][1]) << page;
  }
  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery(channel);
  ASSERT_TRUE(recovery.OpenDatabaseFile(path));
  EXPECT_EQ(recovery.DetectFormat(), 4);
}

TEST(Jet4EngineTest, FileAppearsUnderItsNameOnlyWhenClosed) {
  TempFolder folder;
  const std::string path = folder.file("target.accdb");
  {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    db->Execute(kTable);
    EXPECT_FALSE(platform::FileExists(path));
    EXPECT_EQ(platform::ListFolder(folder.path()).size(), 1u);  // the temporary file
  }
  // Dropped without Close: nothing is left behind.
  EXPECT_FALSE(platform::FileExists(path));
  EXPECT_TRUE(platform::ListFolder(folder.path()).empty());

  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Close();
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_EQ(platform::ListFolder(folder.path()), std::vector<std::string>{"target.accdb"});
}

TEST(Jet4EngineTest, DoesNotCreateOverAnExistingFile) {
  TempFolder folder;
  const std::string path = folder.file("exists.accdb");
  testsupport::WriteWholeFile(path, {1, 2, 3});
  auto db = jet4::MakeJet4Database();
  EXPECT_THROW(db->Create(path, engine::kEngineLocale, 0), EngineError);
  EXPECT_FALSE(db->IsOpen());
  EXPECT_EQ(testsupport::ReadWholeFile(path), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_THROW(db->Create(folder.file("no/such/folder.accdb"), engine::kEngineLocale, 0), EngineError);
  EXPECT_THROW(db->Open(path, true, false, ""), EngineError);
}

TEST(Jet4EngineTest, AFailedCloseLeavesNoFileUnderTheName) {
  TempFolder folder;
  const std::string sub = folder.file("sub");
  platform::CreateFolder(sub);
  const std::string path = sub + "/target.accdb";
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Execute(kTable);
  platform::DeleteFolderTree(sub);
  EXPECT_THROW(db->Close(), EngineError);
  EXPECT_FALSE(db->IsOpen());
  EXPECT_FALSE(platform::FileExists(path));
}

TEST(Jet4EngineTest, RefusedStatementsAndValuesLeaveTheRestWorking) {
  TempFolder folder;
  auto db = jet4::MakeJet4Database();
  EXPECT_THROW(db->Execute(kTable), EngineError);  // nothing open yet
  db->Create(folder.file("t.accdb"), engine::kEngineLocale, 0);
  EXPECT_THROW(db->Execute("CREATE TABLE [Bad] \r\n(\r\n\t[X] UNKNOWN-DATATYPE = 0x12\r\n);"), EngineError);
  db->Execute(kTable);
  EXPECT_THROW(db->Execute("CREATE TABLE [t] ([A] LONG)"), EngineError);            // names compare without case
  EXPECT_THROW(db->Execute("CREATE TABLE [MSysObjects] ([A] LONG)"), EngineError);  // the catalog itself

  auto rs = db->NewRecordset();
  EXPECT_THROW(rs->Open("select * from [Bad] where 1=-1"), EngineError);
  EXPECT_THROW(rs->Open("select * from [T]"), EngineError);  // only appending recordsets
  rs->Open("select * from [T] where 1=-1");
  EXPECT_EQ(rs->GetRecordCount(), 0);
  EXPECT_TRUE(rs->IsEOF());
  ASSERT_EQ(rs->GetFieldCount(), 2);
  EXPECT_EQ(rs->GetFieldInfo(0).m_strName, "ID");
  EXPECT_EQ(rs->GetFieldInfo(0).m_nType, engine::kEngineLong);
  EXPECT_EQ(rs->GetFieldInfo(1).m_nType, engine::kEngineText);
  EXPECT_THROW(rs->GetFieldInfo(2), EngineError);
  EXPECT_THROW(rs->SetFieldValue("Name", support::TextValue("x")), EngineError);  // no AddNew
  EXPECT_THROW(rs->Update(), EngineError);

  rs->AddNew();
  EXPECT_THROW(rs->SetFieldValue("ID", support::TextValue("one")), EngineError);
  EXPECT_THROW(rs->SetFieldValue("Nope", support::TextValue("x")), EngineError);
  EXPECT_THROW(rs->SetFieldValue("Name", support::TextValue(std::string(51, 'x'))), EngineError);
  rs->SetFieldValue("name", support::TextValue("kept"));  // field names compare without case
  rs->Update();
  rs->Close();
  EXPECT_THROW(rs->AddNew(), EngineError);
  db->Close();
  EXPECT_THROW(rs->Open("select * from [T] where 1=-1"), EngineError);
}

}  // namespace
