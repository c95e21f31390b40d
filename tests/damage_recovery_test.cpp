// Damaged copies of real files, every kind the damage generator makes: each copy analyses,
// fetches and exports to the end with no exception and no message the program does not own,
// and the kinds of damage that leave every record's bytes in place lose no record.
#include <gtest/gtest.h>

#include <set>

#include "tests/support/corpus.h"
#include "tests/support/damage_generator.h"
#include "tests/support/recovery_run.h"

namespace {

class DamageRecoveryTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DamageRecoveryTest, EveryCopyCompletesAndUntouchedRecordsComeBack) {
  SKIP_WITHOUT_CORPUS();
  const std::string path = testsupport::CorpusFile(GetParam());
  ASSERT_FALSE(path.empty());
  testsupport::TempFolder folder;
  const testsupport::RecoveryRun intact = testsupport::RunWholeRecovery(path, folder.file("work"), true);
  ASSERT_TRUE(intact.analyzed);
  ASSERT_GT(intact.recordCount, 0);
  EXPECT_TRUE(intact.messages.empty());
  EXPECT_TRUE(intact.csvExportSucceeded);
  EXPECT_TRUE(intact.accessExportSucceeded);

  // Damage that moves or removes no record's bytes: page 0, the catalog and a prefix.
  const std::set<std::string> lossless = {"zeroed header page", "catalog pages zeroed", "garbage prefix"};
  std::set<std::string> kinds;
  for (const auto& copy : testsupport::MakeDamagedCopies(testsupport::ReadWholeFile(path), 20261210)) {
    SCOPED_TRACE(copy.kind + ", " + copy.variant);
    kinds.insert(copy.kind);
    const std::string copyPath = folder.file("damaged.mdb");
    testsupport::WriteWholeFile(copyPath, copy.bytes);
    const testsupport::RecoveryRun damaged = testsupport::RunWholeRecovery(copyPath, folder.file("work"), false);
    EXPECT_EQ(damaged.escapedException, "");
    for (const auto& message : damaged.messages) EXPECT_TRUE(testsupport::IsProgramMessage(message)) << message;
    if (damaged.analyzed) {
      EXPECT_TRUE(damaged.csvExportSucceeded);
    }
    if (lossless.count(copy.kind)) {
      EXPECT_TRUE(damaged.analyzed);
      EXPECT_EQ(testsupport::CountRecovered(intact, damaged).recovered, intact.recordCount);
    }
  }
  EXPECT_EQ(kinds.size(), 8u);  // every kind, the long-value page included
}

// A lost table definition (overwritten, or cut off with the file while rows before it remain):
// the rows come back through the inferred layout, every value equal to the intact table's.
TEST(LostDefinitionRecoveryTest, EveryKeptRecordComesBackWithAllItsValues) {
  SKIP_WITHOUT_CORPUS();
  const std::set<std::string> lostDefinition = {"table definition overwritten", "truncated before a definition"};
  int copies = 0;
  for (const char* name :
       {"jet4/compIndexTestV2003.mdb", "jet4/overflowTestV2003.mdb", "jet4/testIndexPropertiesV2003.mdb"}) {
    SCOPED_TRACE(name);
    const std::string path = testsupport::CorpusFile(name);
    ASSERT_FALSE(path.empty());
    testsupport::TempFolder folder;
    const testsupport::RecoveryRun intact = testsupport::RunWholeRecovery(path, folder.file("work"), true);
    for (const auto& copy : testsupport::MakeDamagedCopies(testsupport::ReadWholeFile(path), 20261210)) {
      if (!lostDefinition.count(copy.kind)) continue;
      SCOPED_TRACE(copy.kind);
      ++copies;
      const std::string copyPath = folder.file("damaged.mdb");
      testsupport::WriteWholeFile(copyPath, copy.bytes);
      const testsupport::RecoveryRun damaged = testsupport::RunWholeRecovery(copyPath, folder.file("work"), false);
      ASSERT_TRUE(damaged.analyzed);
      const testsupport::RecoveryCount count = testsupport::CountRecovered(intact, damaged, copy.keptPages);
      EXPECT_GT(count.kept, 0);
      EXPECT_EQ(count.keptRecovered, count.kept);
    }
  }
  EXPECT_EQ(copies, 4);  // one overwritten definition per file, one cut-off definition
}

// The most records, rows moved to other pages, and long values on many pages.
INSTANTIATE_TEST_SUITE_P(CorpusFiles, DamageRecoveryTest,
                         ::testing::Values("jet4/compIndexTestV2003.mdb", "jet4/overflowTestV2003.mdb",
                                           "jet4/testV2003.mdb", "ace/testIndexPropertiesV2007.accdb"));

}  // namespace
