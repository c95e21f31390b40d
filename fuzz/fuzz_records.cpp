// Fuzzes record retrieval: analyses the file, then fetches every table's screens as the record
// grid does (a bounded number per table), as texts and as typed values, decoding rows, values,
// memos and OLE objects.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "records/record_fetch.h"
#include "records/record_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  constexpr int kMaxScreensPerTable = 8;
  std::string path = fuzzsupport::WriteScratchFile(data, size, ".mdb");
  analysis::MdbRecovery& recovery = fuzzsupport::Recovery();
  if (!recovery.Analyze(path)) return 0;
  recovery.Channel().abort = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  for (auto& table : analysis::g_tables) {
    table.currentPageIndex = 0;
    table.nextRecordIndex = 0;
    table.nextRowInPage = 0;
    for (int screen = 0; screen < kMaxScreensPerTable; ++screen) {
      texts.assign(records::kRecordsPerScreen, std::string());
      if (records::FetchRecords(recovery, table, texts.data()) != 1) break;
      if (records::ScreenRecords(texts.data(), texts.size(), table.columns.size()).size() <
          static_cast<size_t>(records::kRecordsPerScreen))
        break;
    }
    // The typed screens the grid and the CLI read, from the top again.
    table.currentPageIndex = table.nextRecordIndex = table.nextRowInPage = 0;
    std::vector<records::TypedRecord> typed;
    for (int screen = 0; screen < kMaxScreensPerTable; ++screen)
      if (records::FetchTypedRecords(recovery, table, typed) != 1 || typed.size() < records::kRecordsPerScreen) break;
  }
  fuzzsupport::RemoveObjectFiles();
  return 0;
}
