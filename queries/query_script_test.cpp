// Query script files.
#include "queries/query_script.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "tests/support/corpus.h"

namespace {

std::string FileText(const std::string& path) {
  const auto bytes = testsupport::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

analysis::Queries Query(const std::string& name, const std::string& sql) {
  analysis::Queries query;
  query.id = 1;
  query.name = name;
  query.sqlText = sql;
  return query;
}

TEST(ExportQueryToFile, TwoLineBreaksThenTheSqlAndALaterExportReplacesIt) {
  testsupport::TempFolder folder;
  testsupport::CreateFolderForTest(folder.file("Queries"));
  EXPECT_TRUE(queries::ExportQueryToFile(Query("Big Orders", "SELECT 1;"), folder.path()));
  EXPECT_TRUE(queries::ExportQueryToFile(Query("Big Orders", "SELECT Orders.ID  FROM [Orders] ;"), folder.path()));
  EXPECT_EQ(platform::ListFolder(folder.file("Queries")), std::vector<std::string>{"Big Orders.sql"});
  EXPECT_EQ(FileText(folder.file("Queries/Big Orders.sql")), "\n\nSELECT Orders.ID  FROM [Orders] ;");

  EXPECT_TRUE(queries::ExportQueryToFile(Query("Empty", ""), folder.path()));
  EXPECT_EQ(FileText(folder.file("Queries/Empty.sql")), "\n\n");
}

TEST(ExportQueryToFile, NamesFromTheFileStayInsideTheQueriesFolder) {
  testsupport::TempFolder folder;
  testsupport::CreateFolderForTest(folder.file("export/Queries"));
  const std::string exportFolder = folder.file("export");
  for (const std::string& name : std::vector<std::string>{"../../escape", "..", "", "a/b", std::string("nul\0x", 5)})
    EXPECT_TRUE(queries::ExportQueryToFile(Query(name, "SELECT 1;"), exportFolder)) << name;
  auto names = platform::ListFolder(folder.file("export/Queries"));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".._.._escape.sql", "_...sql", "_.sql", "a_b.sql", "nul_x.sql"}));
  EXPECT_EQ(platform::ListFolder(folder.path()), std::vector<std::string>{"export"});
}

TEST(ExportQueryToFile, WritesNothingWithoutItsFolders) {
  testsupport::TempFolder folder;
  // The export folder is missing: it is made, but the query gets no file.
  EXPECT_FALSE(queries::ExportQueryToFile(Query("Q", "SELECT 1;"), folder.file("new")));
  EXPECT_TRUE(platform::ListFolder(folder.file("new")).empty());
  // The export folder exists without its "Queries" folder.
  EXPECT_FALSE(queries::ExportQueryToFile(Query("Q", "SELECT 1;"), folder.file("new")));
  EXPECT_TRUE(platform::ListFolder(folder.file("new")).empty());
}

}  // namespace
