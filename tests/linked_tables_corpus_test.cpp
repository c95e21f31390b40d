// The corpus's linked tables, one to another Access file and one to an ODBC source, as the
// catalog stores them (the ODBC password masked).
#include <gtest/gtest.h>

#include "export/analysis_steps.h"
#include "records/linked_tables.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"

namespace {

TEST(LinkedTablesCorpusTest, LinkedTablesOfTheLinkerFiles) {
  SKIP_WITHOUT_CORPUS();
  struct Case {
    const char* file;
    std::string expected;  // name|source|database|connect|odbc
  };
  const Case cases[] = {
      {"ace/linkerTestV2007.accdb", "Table2|Table1|Z:\\jackcess_test\\linkeeTest.accdb||0"},
      {"ace/odbcLinkerTestV2007.accdb",
       "Ordrar|dbo.Ordrar||DSN=Magnapinna;Description=Safexit;UID=safexit;PWD=***;APP=Microsoft "
       "Office;DATABASE=safexit|1"},
  };
  for (const Case& c : cases) {
    analysis::ProgressChannel channel;
    analysis::MdbRecovery recovery(channel);
    exporter::InstallAnalysisSteps(recovery);
    ASSERT_TRUE(testsupport::RunAnalysis(recovery, testsupport::CorpusFile(c.file)).ok) << c.file;
    const auto linked = records::ReadLinkedTables(recovery);
    ASSERT_EQ(linked.size(), 1u) << c.file;
    const auto& t = linked[0];
    EXPECT_EQ(t.name + "|" + t.sourceTable + "|" + t.database + "|" + t.connect + "|" + (t.odbc ? "1" : "0"),
              c.expected);
  }
}

}  // namespace
