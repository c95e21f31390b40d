// Page status is published without waiting for the window, table hand-overs stay paired, and a
// stop still ends the page scan early.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "analysis/mdb_recovery.h"
#include "analysis/progress_loops.h"
#include "tests/support/corpus.h"
#include "tests/support/page_builder.h"

namespace {

// A view whose status display hangs until released, as a window busy elsewhere would.
class StuckView : public analysis::ProgressView {
 public:
  void statusChanged(const std::string& text) override {
    released_.wait();
    std::lock_guard<std::mutex> lock(mutex_);
    statuses_.push_back(text);
  }
  void tableAdded(analysis::Table* table) override {
    std::lock_guard<std::mutex> lock(mutex_);
    tables_.push_back(table->name);
  }
  void release() { release_.set_value(); }
  std::vector<std::string> statuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
  }
  std::vector<std::string> tables() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return tables_;
  }

 private:
  std::promise<void> release_;
  std::shared_future<void> released_ = release_.get_future().share();
  mutable std::mutex mutex_;
  std::vector<std::string> statuses_, tables_;
};

TEST(ProgressPublication, PageStatusNeverWaitsAndHandOversKeepTheirOrder) {
  analysis::ProgressChannel channel;
  channel.reset();
  StuckView view;
  std::vector<analysis::Table> tables(40);
  std::vector<std::string> names;
  for (size_t i = 0; i < tables.size(); ++i) names.push_back(tables[i].name = "T" + std::to_string(i));

  analysis::ProgressLoops loops(channel, view);
  loops.start();
  // With the window stuck, a whole page scan and its texts still run through.
  auto scan = std::async(std::launch::async, [&] {
    channel.pagesTotal = 100000;
    for (int page = 1; page <= 100000; ++page) {
      channel.pagesRead = page;
      if (page % 25000 == 0) channel.setStatusText("page " + std::to_string(page));
      channel.publishStatus();
    }
  });
  ASSERT_EQ(scan.wait_for(std::chrono::seconds(60)), std::future_status::ready);
  view.release();

  for (auto& table : tables) {
    channel.setStatusText("Schema read of table : " + table.name);
    channel.publishStatus();
    channel.tableToAdd = &table;
    channel.handOver();
  }
  EXPECT_EQ(view.tables(), names);
  channel.done = 1;
  channel.updateProgStatusEvent.set();
  channel.recoveryTblEvent.set();
  loops.stop();

  // Every text reaches the window, in the order written.
  const std::vector<std::string> statuses = view.statuses();
  std::vector<std::string> expected = {"page 25000", "page 50000", "page 75000", "page 100000"};
  for (const auto& name : names) expected.push_back("Schema read of table : " + name);
  expected.push_back("Recovery Completed");
  EXPECT_EQ(statuses, expected);
}

TEST(ProgressPublication, AStopRaisedBeforeThePageScanLeavesItAtItsFirstPage) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("small.mdb");
  testsupport::FileBuilder::Jet4Start(200).write(path);
  analysis::ProgressChannel channel;
  channel.reset();
  channel.setUnattended(true);
  analysis::MdbRecovery recovery(channel);
  ASSERT_TRUE(recovery.OpenDatabaseFile(path));
  channel.abort = 1;
  EXPECT_EQ(recovery.ScanPages(), 1);
  analysis::g_pageMap.clear();
}

}  // namespace
