// Creating and closing the Access export target over a stand-in engine: the file name and its
// stamp, the error-log lines, and no creation over an existing file.
#include "export/access_target.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "tests/support/corpus.h"
#include "tests/support/log_capture.h"

namespace {

using testsupport::LogCapture;
using testsupport::TempFolder;

// Creates an empty file on Create, as an engine would, and fails where asked.
class StandInDatabase : public engine::EngineDatabase {
 public:
  bool failCreate = false;
  bool failClose = false;
  void Create(const std::string& path, const std::string& locale, int options) override {
    if (failCreate || platform::FileExists(path)) throw engine::EngineError("cannot create");
    testsupport::WriteWholeFile(path, {'D', 'B'});
    createdLocale = locale;
    open_ = true;
  }
  void Open(const std::string&, bool, bool, const std::string&) override { open_ = true; }
  void Close() override {
    if (failClose) throw engine::EngineError("cannot close");
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  void Execute(const std::string&) override {}
  std::unique_ptr<engine::EngineRecordset> NewRecordset() override { return nullptr; }
  std::string createdLocale;

 private:
  bool open_ = false;
};

class MessageRecorder : public platform::MessageSink {
 public:
  void showMessage(const std::string& text, const std::string&) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

class AccessTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pinClock({2026, 3, 7, 14, 5, 9}, {2026, 3, 7, 14, 5, 9});
    exporter::SetTargetEngineFactory([this] {
      auto database = std::make_shared<StandInDatabase>();
      database->failCreate = failCreate_;
      database->failClose = failClose_;
      return database;
    });
    platform::InstallMessageSink(&messages_);
  }
  void TearDown() override {
    platform::InstallMessageSink(nullptr);
    exporter::SetTargetEngineFactory(nullptr);
    platform::SetClockForTesting(nullptr, nullptr);
  }
  static void pinClock(platform::DateTimeParts utc, platform::DateTimeParts local) {
    platform::SetClockForTesting([utc] { return utc; }, [local] { return local; });
  }

  LogCapture logs_;
  TempFolder folder_;
  MessageRecorder messages_;
  analysis::ProgressChannel channel_;
  analysis::MdbRecovery recovery_{channel_};
  bool failCreate_ = false;
  bool failClose_ = false;
};

TEST_F(AccessTargetTest, FileNameStampHasNoLeadingZeros) {
  EXPECT_EQ(exporter::TargetFileName("D", "Shop"), "D/Recovered_Shop_On_3-7-2026__14hr_5m_9s.accdb");
  // Just after local midnight east of UTC: the UTC date is still the previous day.
  pinClock({2026, 3, 6, 23, 30, 0}, {2026, 3, 7, 0, 30, 0});
  EXPECT_EQ(exporter::TargetTimeStamp(), "On_3-6-2026__0hr_30m_0s");
}

TEST_F(AccessTargetTest, CreateAndCloseWriteTheirLogLines) {
  std::string path;
  ASSERT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop", &path), 1);
  const std::string expected = folder_.path() + "/Recovered_Shop_On_3-7-2026__14hr_5m_9s.accdb";
  EXPECT_EQ(path, expected);
  EXPECT_TRUE(platform::FileExists(expected));
  ASSERT_TRUE(recovery_.m_Obj_DAO_Database);
  EXPECT_TRUE(recovery_.m_Obj_DAO_Database->IsOpen());
  EXPECT_EQ(static_cast<StandInDatabase&>(*recovery_.m_Obj_DAO_Database).createdLocale,
            ";LANGID=0x0409;CP=1252;COUNTRY=0");

  EXPECT_EQ(exporter::CloseTarget(recovery_), 1);
  EXPECT_FALSE(recovery_.m_Obj_DAO_Database);
  EXPECT_EQ(exporter::CloseTarget(recovery_), 1);
  EXPECT_EQ(logs_.errorMessages(), (std::vector<std::string>{
                                       "Database was not opened",
                                       "output file name : ",
                                       expected,
                                       "Database was not opened",
                                       "Database was opened",
                                       "Database is closed",
                                       "close_Export_To_MSAccessDB :: AfxDaoTerm ",
                                       "Database was not opened",
                                   }));
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(AccessTargetTest, SecondExportInTheSameSecondFailsAndKeepsTheFirstFile) {
  ASSERT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop"), 1);
  const std::string path = exporter::TargetFileName(folder_.path(), "Shop");
  testsupport::WriteWholeFile(path, {'F', 'I', 'R', 'S', 'T'});  // the first export's data
  exporter::CloseTarget(recovery_);

  EXPECT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop"), -1);
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"Error creating database : " + path});
  EXPECT_EQ(logs_.errorMessages().back(), path + " database creation failed");
  EXPECT_EQ(testsupport::ReadWholeFile(path), (std::vector<uint8_t>{'F', 'I', 'R', 'S', 'T'}));
  EXPECT_FALSE(recovery_.m_Obj_DAO_Database && recovery_.m_Obj_DAO_Database->IsOpen());

  // A second later the name is new again.
  pinClock({2026, 3, 7, 14, 5, 10}, {2026, 3, 7, 14, 5, 10});
  EXPECT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop"), 1);
}

TEST_F(AccessTargetTest, EngineFailures) {
  failCreate_ = true;
  EXPECT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop"), -1);
  const std::string path = exporter::TargetFileName(folder_.path(), "Shop");
  EXPECT_EQ(messages_.messages.back(), "Error creating database : " + path);

  // Without an engine the failure comes before the name is built.
  exporter::SetTargetEngineFactory([] { return std::shared_ptr<engine::EngineDatabase>(); });
  EXPECT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Shop"), -1);
  EXPECT_EQ(messages_.messages.back(), "Error creating database : ");
  EXPECT_EQ(logs_.errorMessages().back(), " database creation failed");

  failCreate_ = false;
  failClose_ = true;
  exporter::SetTargetEngineFactory([this] {
    auto database = std::make_shared<StandInDatabase>();
    database->failClose = failClose_;
    return database;
  });
  ASSERT_EQ(exporter::CreateTarget(recovery_, folder_.path(), "Other"), 1);
  EXPECT_EQ(exporter::CloseTarget(recovery_), -1);
  EXPECT_EQ(logs_.errorMessages().back(), "Database closing failed");
}

}  // namespace
