// The export driver over a small database built in code: status lines, percentages, the final
// line, stopping, the statistics file, and exports that meet the files of an earlier one.
#include "export/export_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/engine.h"
#include "export/export_folder.h"
#include "export/export_statistics.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "platform/program_folder.h"
#include "records/type_names.h"
#include "tests/support/log_capture.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

constexpr int32_t kTdefPage = 2;

class RecordingView : public exporter::ExportView, public platform::MessageSink {
 public:
  void statusInserted(const std::string& line) override {
    status.insert(status.begin(), line);  // newest first, as the window lists them
    if (onStatus) onStatus(line);
  }
  void percentChanged(int percent) override { percents.push_back(percent); }
  void finished(const std::string& line, const std::vector<exporter::ExportStatistic>& rows) override {
    ++finishedCalls;
    finalLine = line;
    statistics = rows;
  }
  void showMessage(const std::string& text, const std::string&) override { messages.push_back(text); }

  std::vector<std::string> status, messages;
  std::vector<int> percents;
  std::string finalLine;
  std::vector<exporter::ExportStatistic> statistics;
  int finishedCalls = 0;
  std::function<void(const std::string&)> onStatus;
};

class ExportRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetClockForTesting([] { return platform::DateTimeParts{2026, 3, 7, 14, 5, 9}; },
                                 [] { return platform::DateTimeParts{2026, 3, 7, 14, 5, 9}; });
    platform::InstallMessageSink(&view);
    analysis::Table& table = fixture.table;
    table.tdefPage = kTdefPage;
    table.maxColumns = 2;
    table.columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4),
                     VariableColumn("name", records::kTypeText, 1, 0, 100)};
    FileBuilder file = FileBuilder::Jet4Start(6);
    PageBuilder page = PageBuilder::DataPage(kTdefPage);
    for (int id = 1; id <= 3; ++id)
      page.addRow(RowBuilder(2, 4).fixed(0, 0, Le32(id)).variable(1, Utf16("n" + std::to_string(id))).bytes());
    table.dataPages = {static_cast<int32_t>(file.pageCount())};
    file.appendPage(page.page());
    fixture.open(file);
  }
  void TearDown() override {
    platform::InstallMessageSink(nullptr);
    platform::SetClockForTesting(nullptr, nullptr);
  }

  // count tables named T1 ... Tn, each holding the fixture's three records.
  void makeTables(int count) {
    tables.clear();
    for (int i = 1; i <= count; ++i) {
      tables.push_back(fixture.table);
      tables.back().name = "T" + std::to_string(i);
    }
  }
  void makeQueries(int count) {
    queries.clear();
    for (int i = 1; i <= count; ++i)
      queries.push_back({i, "Q" + std::to_string(i), "SELECT " + std::to_string(i) + ";"});
  }

  exporter::ExportSettings settings(int format, const std::string& folder) {
    exporter::ExportSettings s;
    s.m_nExportFormat = format;
    s.m_nExportMode = exporter::kModeSchemaAndData;
    s.m_strExportFolder = folder;
    s.m_strFileTitle = "Shop";
    for (auto& table : tables) s.m_exportTables.push_back(&table);
    for (auto& query : queries) s.m_exportQueries.push_back(&query);
    return s;
  }

  exporter::ExportOutcome run(const exporter::ExportSettings& s) {
    return exporter::RunExport(fixture.recovery(), s, view);
  }

  static std::string fileText(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  }

  RecordFixture fixture;
  RecordingView view;
  TempFolder destination;
  std::vector<analysis::Table> tables;
  std::vector<analysis::Queries> queries;
};

TEST_F(ExportRunnerTest, AccessExportOfThreeTables) {
  makeTables(3);
  LogCapture logs;
  const auto outcome = run(settings(exporter::kFormatAccess, destination.path()));
  EXPECT_EQ(view.percents, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(view.status,
            (std::vector<std::string>{"Export completed Successfully...", "Export completed : T3",
                                      "Export started  : T3", "Export completed : T2", "Export started  : T2",
                                      "Export completed : T1", "Export started  : T1", "Export Database started..."}));
  EXPECT_TRUE(outcome.succeeded());
  EXPECT_EQ(outcome.target, destination.path() + "/Recovered_Shop_On_3-7-2026__14hr_5m_9s.accdb");
  EXPECT_TRUE(platform::FileExists(outcome.target));
  EXPECT_EQ(view.finishedCalls, 1);
  ASSERT_EQ(view.statistics.size(), 3u);
  for (const auto& row : view.statistics) EXPECT_EQ(row.exportedRecords, 3) << row.tableName;
  EXPECT_EQ(fixture.recovery().m_Obj_DAO_Database, nullptr);  // the target is closed
  // Every status line but the final one goes to the execution log, oldest first.
  std::vector<std::string> logged(view.status.rbegin(), view.status.rend());
  logged.pop_back();
  EXPECT_EQ(logs.executionMessages(), logged);
}

TEST_F(ExportRunnerTest, CsvExportOfTwoTablesAndFourQueries) {
  makeTables(2);
  makeQueries(4);
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  const auto outcome = run(settings(exporter::kFormatCsv, folder));
  EXPECT_EQ(view.percents, (std::vector<int>{37, 75, 81, 87, 93, 100}));
  EXPECT_EQ(outcome.finalLine, "Export completed Successfully...");
  EXPECT_EQ(view.status.size(), 2u + 2 * 2 + 2 * 4);
  EXPECT_EQ(view.status[1], "Export completed : Q4");
  EXPECT_EQ(fileText(folder + "/Tables/T2.csv"), "id,name\n1,n1\n2,n2\n3,n3\n");
  EXPECT_EQ(fileText(folder + "/Queries/Q3.sql"), "\n\nSELECT 3;");
}

TEST_F(ExportRunnerTest, StopDuringTheSecondOfFiveTables) {
  makeTables(5);
  view.onStatus = [this](const std::string& line) {
    if (line == "Export started  : T2") fixture.channel().abort = 1;
  };
  const auto outcome = run(settings(exporter::kFormatAccess, destination.path()));
  EXPECT_EQ(outcome.finalLine, "Export Aborted by user...");
  EXPECT_EQ(view.status[0], "Export Aborted by user...");
  EXPECT_EQ(view.status[1], "Export completed : T2");  // the second table finishes
  EXPECT_EQ(view.percents, (std::vector<int>{15, 30, 100}));
  ASSERT_EQ(view.statistics.size(), 2u);
  EXPECT_EQ(view.statistics[0].tableName, "T1");
  EXPECT_EQ(view.statistics[0].exportedRecords, 3);
  EXPECT_EQ(view.statistics[1].tableName, "T2");
  EXPECT_EQ(fixture.recovery().m_Obj_DAO_Database, nullptr);
  EXPECT_TRUE(platform::FileExists(outcome.target));
}

TEST_F(ExportRunnerTest, StatisticsFile) {
  makeTables(3);
  tables[1].name.clear();  // an entry without a name is neither exported nor listed
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  run(settings(exporter::kFormatCsv, folder));
  EXPECT_EQ(fileText(platform::JoinPath(platform::ProgramFolder(), "Export Statistics.log")),
            "Database Path : " + folder +
                "\n\n"
                "            Table name             :          No of Records\n"
                "                                 T1:                   3\n"
                "                                 T3:                   3\n");
  tables[0].exportedRecords = -1;  // a negative count is left out
  EXPECT_EQ(exporter::CollectStatistics({&tables[0], nullptr, &tables[2]}, 3).size(), 1u);
}

TEST_F(ExportRunnerTest, AnyNameReachesTheAccessTargetAndARefusedTableIsListedAsFailed) {
  makeTables(3);
  tables[0].columns.push_back(FixedColumn("odd", 0x55, 2, 4, 4));  // a type the target refuses
  tables[1].name = "\xD0\xA1\xD1\x82\xD1\x83\xD0\xB4\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";
  tables[1].columns[0].name = "\xD0\x98\xD0\xBC\xD1\x8F";
  tables[1].columns[1].name = "\xD0\x9F\xD0\xBE\xD0\xBB";
  tables[2].name = "Orders] (old)";
  tables[2].columns[1].name = "[name]";
  const auto outcome = run(settings(exporter::kFormatAccess, destination.path()));
  EXPECT_EQ(outcome.finalLine, "Export completed with errors...");
  ASSERT_EQ(view.statistics.size(), 3u);
  EXPECT_TRUE(view.statistics[0].failed);
  EXPECT_EQ(exporter::StatisticCountText(view.statistics[0]), "Failed");
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_FALSE(view.statistics[i].failed) << i;
    EXPECT_EQ(view.statistics[i].exportedRecords, 3) << i;
  }
  EXPECT_NE(exporter::StatisticsText("x", view.statistics).find("T1:              Failed\n"), std::string::npos);
}

TEST_F(ExportRunnerTest, AFailedTableOrATargetThatExistsIsNoSuccess) {
  makeTables(2);
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  platform::DeleteFolderTree(folder + "/Tables");  // the first table cannot be written
  EXPECT_EQ(run(settings(exporter::kFormatCsv, folder)).finalLine, "Export completed with errors...");

  // Two Access exports in the same second: the second finds the first's file, fails and leaves it.
  const auto first = run(settings(exporter::kFormatAccess, destination.path()));
  ASSERT_TRUE(first.succeeded());
  const auto bytes = ReadWholeFile(first.target);
  view = RecordingView();
  const auto second = run(settings(exporter::kFormatAccess, destination.path()));
  EXPECT_EQ(second.finalLine, "Export completed with errors...");
  EXPECT_TRUE(second.target.empty());
  EXPECT_EQ(view.messages, (std::vector<std::string>{"Error creating database : " + first.target}));
  EXPECT_TRUE(view.statistics.empty());
  EXPECT_EQ(ReadWholeFile(first.target), bytes);
  const auto& engine = fixture.recovery().m_Obj_DAO_Database;
  EXPECT_TRUE(!engine || !engine->IsOpen());
}

TEST_F(ExportRunnerTest, TwoCsvExportsInTheSameSecond) {
  makeTables(1);
  makeQueries(1);
  const std::string first = exporter::PrepareCsvExportFolder(destination.path());
  ASSERT_TRUE(run(settings(exporter::kFormatCsv, first)).succeeded());
  const std::string second = exporter::PrepareCsvExportFolder(destination.path());
  EXPECT_NE(second, first);
  EXPECT_TRUE(platform::ListFolder(second + "/Tables").empty());
  tables[0].name = "Renamed";
  ASSERT_TRUE(run(settings(exporter::kFormatCsv, second)).succeeded());
  EXPECT_EQ(platform::ListFolder(second + "/Tables"), std::vector<std::string>{"Renamed.csv"});
  EXPECT_EQ(fileText(first + "/Tables/T1.csv"), "id,name\n1,n1\n2,n2\n3,n3\n");
  EXPECT_EQ(fileText(first + "/Queries/Q1.sql"), "\n\nSELECT 1;");
}

TEST_F(ExportRunnerTest, NamesFromTheFileStayInsideTheExportFolder) {
  makeTables(3);
  tables[0].name = "../escape";
  tables[1].name = ".._escape";
  tables[2].name = "..";
  makeQueries(2);
  queries[0].name = "a/b";
  queries[1].name = "a_b";
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  ASSERT_TRUE(run(settings(exporter::kFormatCsv, folder)).succeeded());
  auto names = platform::ListFolder(folder + "/Tables");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".._escape (2).csv", ".._escape.csv", "_...csv"}));
  names = platform::ListFolder(folder + "/Queries");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a_b (2).sql", "a_b.sql"}));
  EXPECT_EQ(platform::ListFolder(destination.path()).size(), 1u);
}

// Format 4 is no format: nothing is exported (3 is the SQLite database).
TEST_F(ExportRunnerTest, OtherFormatsAndStoppedQueryExports) {
  makeTables(1);
  EXPECT_EQ(run(settings(4, destination.path())).finalLine, "Export completed with errors...");
  EXPECT_EQ(view.percents, std::vector<int>{100});
  tables.clear();
  EXPECT_EQ(run(settings(4, destination.path())).finalLine, "Export completed Successfully...");

  makeQueries(2);
  view.onStatus = [this](const std::string& line) {
    if (line == "Export started  : Q1") fixture.channel().abort = 1;
  };
  const std::string folder = exporter::PrepareCsvExportFolder(destination.path());
  EXPECT_EQ(run(settings(exporter::kFormatCsv, folder)).finalLine, "Export Aborted by user...");
  EXPECT_FALSE(platform::FileExists(folder + "/Queries/Q2.sql"));
}

}  // namespace
