// Speed of record retrieval on one file: the first screen of 100 records of the largest table,
// the record index of that table (built once), a screen deep in it reached through the index,
// and every row of every table read screen by screen as the record list reads them.
// Prints key=value lines (times in milliseconds) for bench/run_bench.sh.
//
// Usage: screen_bench FILE [REPEATS]   (default 5 repeats; each figure is their median)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "records/record_fetch.h"
#include "records/record_index.h"
#include "records/record_text.h"

namespace {

double millisecondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double medianOf(int repeats, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) times.push_back(millisecondsOf(work));
  return median(times);
}

// One screen from the table's current position; the records it holds.
size_t fetchScreen(analysis::MdbRecovery& recovery, analysis::Table& table) {
  std::vector<std::string> texts(records::kRecordsPerScreen);
  records::FetchRecords(recovery, table, texts.data());
  return records::ScreenRecords(texts.data(), texts.size(), table.columns.size()).size();
}

void startAtTheTop(analysis::Table& table) {
  table.currentPageIndex = 0;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: screen_bench FILE [REPEATS]\n");
    return 2;
  }
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  analysis::ProgressChannel channel;
  channel.setUnattended(true);  // no window side: publications do not wait
  analysis::MdbRecovery recovery(channel);
  if (!recovery.Analyze(argv[1]) || analysis::g_tables.empty()) {
    std::fprintf(stderr, "screen_bench: %s: no tables\n", argv[1]);
    return 1;
  }
  channel.abort = 0;

  analysis::Table* largest = &analysis::g_tables.front();
  for (auto& table : analysis::g_tables)
    if (table.dataPages.size() > largest->dataPages.size()) largest = &table;
  analysis::Table& table = *largest;

  const double firstScreen = medianOf(repeats, [&] {
    startAtTheTop(table);
    fetchScreen(recovery, table);
  });
  std::vector<double> indexTimes;
  int64_t records = 0;
  for (int i = 0; i < repeats; ++i)
    indexTimes.push_back(millisecondsOf([&] { records = records::RecordIndex(recovery, table).recordCount(); }));
  const records::RecordIndex index(recovery, table);
  // The last full screen: as deep as a screen of 100 goes.
  const int64_t deepScreen = std::max<int64_t>(records / records::kRecordsPerScreen, 1);
  size_t deepRecords = 0;
  const double deep = medianOf(repeats, [&] {
    index.positionAt(table, (deepScreen - 1) * records::kRecordsPerScreen);
    deepRecords = fetchScreen(recovery, table);
  });
  // A screen in the middle of the table.
  const double next = medianOf(repeats, [&] {
    index.positionAt(table, (deepScreen / 2) * records::kRecordsPerScreen);
    fetchScreen(recovery, table);
  });

  std::printf("table=%s\nrecords=%lld\ndata_pages=%zu\n", table.name.c_str(), static_cast<long long>(records),
              table.dataPages.size());
  std::printf("first_screen_ms=%.2f\nindex_ms=%.2f\ndeep_screen=%lld\ndeep_screen_records=%zu\ndeep_screen_ms=%.2f\n",
              firstScreen, median(indexTimes), static_cast<long long>(deepScreen), deepRecords, deep);
  std::printf("middle_screen_ms=%.2f\n", next);

  // Every row of every table, screen by screen (the record list's decoding, one pass).
  int64_t rows = 0;
  double walk = 0;
  for (auto& each : analysis::g_tables) {
    int64_t tableRows = 0;
    const double ms = millisecondsOf([&] {
      startAtTheTop(each);
      for (size_t got = records::kRecordsPerScreen; got == records::kRecordsPerScreen;)
        tableRows += static_cast<int64_t>(got = fetchScreen(recovery, each));
    });
    std::printf("rows.%s=%lld\nrows_ms.%s=%.1f\n", each.name.c_str(), static_cast<long long>(tableRows),
                each.name.c_str(), ms);
    rows += tableRows;
    walk += ms;
  }
  std::printf("all_rows=%lld\nall_rows_ms=%.1f\n", static_cast<long long>(rows), walk);
}
