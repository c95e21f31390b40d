// The dated CSV export folder: its name, its subfolders, and a second export in the same second.
#include "export/export_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "tests/support/corpus.h"

namespace {

class ExportFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { pin({2026, 3, 7, 9, 5, 3}, {2026, 3, 7, 9, 5, 3}); }
  void TearDown() override { platform::SetClockForTesting(nullptr, nullptr); }
  static void pin(platform::DateTimeParts utc, platform::DateTimeParts local) {
    platform::SetClockForTesting([utc] { return utc; }, [local] { return local; });
  }
  static std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }
  testsupport::TempFolder destination_;
};

TEST_F(ExportFolderTest, NameAndSubfolders) {
  const std::string folder = exporter::PrepareCsvExportFolder(destination_.path());
  EXPECT_EQ(folder, destination_.path() + "/Korvane_Selbrin_(DATE=3-7-2026)_(TIME=9hr.5m.3s)");
  EXPECT_EQ(sorted(platform::ListFolder(folder)), (std::vector<std::string>{"Queries", "Tables"}));

  pin({2026, 3, 6, 23, 0, 1}, {2026, 3, 7, 0, 0, 1});  // local midnight has passed, UTC's has not
  EXPECT_EQ(exporter::CsvExportFolderName(), "Korvane_Selbrin_(DATE=3-6-2026)_(TIME=0hr.0m.1s)");
}

TEST_F(ExportFolderTest, SameSecondStartsFromAnEmptyFolderAndKeepsTheFirst) {
  const std::string first = exporter::PrepareCsvExportFolder(destination_.path());
  testsupport::WriteWholeFile(first + "/Tables/Orders.csv", {'x'});
  testsupport::WriteWholeFile(first + "/notes.txt", {'y'});
  platform::CreateFolder(first + "/Objects");
  testsupport::WriteWholeFile(first + "/Objects/Ole1.bmp", {'z'});

  const std::string second = exporter::PrepareCsvExportFolder(destination_.path());
  EXPECT_EQ(second, first + " (2)");
  EXPECT_EQ(sorted(platform::ListFolder(second)), (std::vector<std::string>{"Queries", "Tables"}));
  EXPECT_TRUE(platform::ListFolder(second + "/Tables").empty());
  EXPECT_EQ(testsupport::ReadWholeFile(first + "/Tables/Orders.csv"), (std::vector<uint8_t>{'x'}));
  EXPECT_EQ(testsupport::ReadWholeFile(first + "/Objects/Ole1.bmp"), (std::vector<uint8_t>{'z'}));
  EXPECT_EQ(exporter::PrepareCsvExportFolder(destination_.path()), first + " (3)");

  // Another second, another folder; the earlier ones stay.
  pin({2026, 3, 7, 9, 5, 4}, {2026, 3, 7, 9, 5, 4});
  const std::string fourth = exporter::PrepareCsvExportFolder(destination_.path());
  EXPECT_NE(fourth, first);
  EXPECT_EQ(platform::ListFolder(destination_.path()).size(), 4u);
}

}  // namespace
