// tessaly-cli records: argument errors and unreadable paths.
#include <gtest/gtest.h>

#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/page_builder.h"

namespace {

using testsupport::RunCli;

TEST(CliRecordsUsageTest, BadArgumentsExitWith2) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("a.mdb");
  testsupport::FileBuilder::Jet4Start().write(file);
  for (const auto& args : std::vector<std::vector<std::string>>{{"records"},
                                                                {"records", file},
                                                                {"records", file, "T", "extra"},
                                                                {"records", file, "T", "--page"},
                                                                {"records", file, "T", "--page", "0"},
                                                                {"records", file, "T", "--page", "x"},
                                                                {"records", file, "T", "--page", "2", "--all"},
                                                                {"records", file, "T", "--ole-dir"},
                                                                {"records", file, "T", "--bogus"},
                                                                {"records", folder.file("missing.mdb"), "T"},
                                                                {"records", folder.path(), "T"}}) {
    auto result = RunCli(args);
    EXPECT_EQ(result.exitCode, 2) << args.back();
    EXPECT_TRUE(result.out.empty()) << args.back();
  }
}

TEST(CliRecordsUsageTest, UnknownTableFailsWith1) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("a.mdb");
  testsupport::FileBuilder::Jet4Start(8).write(file);
  auto result = RunCli({"records", file, "NoSuchTable", "--json"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(result.out.empty());
}

}  // namespace
