// The recovery report: for each kind of damage, the share of the intact file's records that a
// damaged copy still gives with all their values equal. Runs over the corpus files named on
// the command line (relative to the corpus folder, or absolute), or a default mix of both formats.
// Records of a table whose layout was inferred count when their values match the intact table's
// column by column, once the inferred columns are aligned with its columns.
//   tessaly_recovery_report [--copies] [jet4/NAME.mdb ...]
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/support/corpus.h"
#include "tests/support/damage_generator.h"
#include "tests/support/recovery_run.h"

namespace {
// Each file is damaged three times over with different random choices.
constexpr uint32_t kSeeds[] = {20261210, 7, 1999};

struct KindTotals {
  int copies = 0;
  int analysed = 0;
  int csvExported = 0;     // copies whose CSV export completed without errors
  int accessExported = 0;  // the same for the Access export
  int64_t intact = 0;
  int64_t recovered = 0;
  int64_t inLostTables = 0;
  int64_t inFoundTables = 0;
  int64_t kept = 0;  // intact records on pages the copy still holds
  int64_t keptRecovered = 0;
  int failures = 0;  // an escaped exception or a message that is not the program's
};

// The first message on one line, shortened.
std::string firstMessage(const testsupport::RecoveryRun& run) {
  if (run.messages.empty()) return "";
  std::string text = run.messages.front().substr(0, 70);
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return "  message: " + text;
}

double share(int64_t part, int64_t whole) {
  return whole == 0 ? 0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}
}  // namespace

int main(int argc, char** argv) {
  bool listCopies = false;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--copies") == 0)
      listCopies = true;
    else
      names.emplace_back(argv[i]);
  }
  // The files with the most records, and those with long values, moved rows, deleted rows,
  // compressed text and attachments.
  if (names.empty())
    names = {"jet4/compIndexTestV2003.mdb", "ace/compIndexTestV2007.accdb", "jet4/testIndexPropertiesV2003.mdb",
             "ace/indexTestV2007.accdb",    "jet4/overflowTestV2003.mdb",   "jet4/testUnicodeCompV2003.mdb",
             "jet4/testV2003.mdb",          "jet4/delTestV2003.mdb",        "ace/complexDataTestV2007.accdb"};
  if (testsupport::CorpusDir().empty()) {
    std::printf("shared corpus not found (../shared/corpus or $TESSALY_CORPUS): no report\n");
    return 0;
  }
  testsupport::TempFolder folder;
  std::vector<std::string> order;
  std::map<std::string, KindTotals> totals;
  double worstSecondsPerMb = 0;
  int failures = 0;
  for (const std::string& name : names) {
    const std::string path = name.front() == '/' ? name : testsupport::CorpusFile(name);
    if (path.empty()) {
      std::printf("%s: not in the corpus\n", name.c_str());
      return 2;
    }
    const testsupport::RecoveryRun intact = testsupport::RunWholeRecovery(path, folder.file("work"), true);
    std::printf("%s: %lld records in %d tables, exports %s/%s%s\n", name.c_str(),
                static_cast<long long>(intact.recordCount), intact.tables, intact.csvExportSucceeded ? "ok" : "failed",
                intact.accessExportSucceeded ? "ok" : "failed", firstMessage(intact).c_str());
    const std::vector<uint8_t> bytes = testsupport::ReadWholeFile(path);
    std::vector<testsupport::DamagedCopy> copies;
    for (uint32_t seed : kSeeds)
      for (auto& copy : testsupport::MakeDamagedCopies(bytes, seed)) copies.push_back(std::move(copy));
    for (const testsupport::DamagedCopy& copy : copies) {
      const std::string copyPath = folder.file("damaged.mdb");
      testsupport::WriteWholeFile(copyPath, copy.bytes);
      const testsupport::RecoveryRun damaged = testsupport::RunWholeRecovery(copyPath, folder.file("work"), false);
      KindTotals& kind = totals[copy.kind];
      if (kind.copies == 0) order.push_back(copy.kind);
      ++kind.copies;
      kind.analysed += damaged.analyzed ? 1 : 0;
      kind.csvExported += damaged.csvExportSucceeded ? 1 : 0;
      kind.accessExported += damaged.accessExportSucceeded ? 1 : 0;
      kind.intact += intact.recordCount;
      const testsupport::RecoveryCount count = testsupport::CountRecovered(intact, damaged, copy.keptPages);
      const int64_t recovered = count.recovered;
      kind.recovered += recovered;
      kind.inLostTables += count.inLostTables;
      kind.inFoundTables += count.inFoundTables;
      kind.kept += count.kept;
      kind.keptRecovered += count.keptRecovered;
      bool failed = !damaged.escapedException.empty();
      for (const auto& message : damaged.messages) failed = failed || !testsupport::IsProgramMessage(message);
      kind.failures += failed ? 1 : 0;
      failures += failed ? 1 : 0;
      const double mb = static_cast<double>(copy.bytes.size()) / (1 << 20);
      if (mb > 0 && damaged.seconds / mb > worstSecondsPerMb) worstSecondsPerMb = damaged.seconds / mb;
      if (listCopies) {
        std::printf("  %-30s %-26s %s %6.1f%% (%lld/%lld) %5.2f s%s\n", copy.kind.c_str(), copy.variant.c_str(),
                    damaged.analyzed ? "analysed" : "refused ", share(recovered, intact.recordCount),
                    static_cast<long long>(recovered), static_cast<long long>(intact.recordCount), damaged.seconds,
                    firstMessage(damaged).c_str());
      }
    }
  }
  std::printf("\nRecords of the intact files' user tables recovered with all values equal, by kind of damage\n");
  std::printf("(lost: the table itself was not found / it was found but the record was changed or missing)\n");
  std::printf("(csv, access: copies whose export of every table ended \"Export completed Successfully...\")\n");
  std::printf("(kept: records on pages a cut-off copy still holds, and the share of them recovered)\n");
  std::printf("%-29s %6s %8s %4s %6s %14s %9s %7s %10s %11s %7s %7s\n", "damage", "copies", "analysed", "csv", "access",
              "intact records", "recovered", "share", "lost:table", "lost:record", "kept", "of kept");
  for (const std::string& name : order) {
    const KindTotals& kind = totals[name];
    std::printf("%-29s %6d %8d %4d %6d %14lld %9lld %6.1f%% %10lld %11lld %7lld %6.1f%%\n", name.c_str(), kind.copies,
                kind.analysed, kind.csvExported, kind.accessExported, static_cast<long long>(kind.intact),
                static_cast<long long>(kind.recovered), share(kind.recovered, kind.intact),
                static_cast<long long>(kind.inLostTables), static_cast<long long>(kind.inFoundTables),
                static_cast<long long>(kind.kept), share(kind.keptRecovered, kind.kept));
  }
  std::printf("slowest copy: %.2f s per MiB; copies with an escaped exception or a foreign message: %d\n",
              worstSecondsPerMb, failures);
  return failures == 0 ? 0 : 1;
}
