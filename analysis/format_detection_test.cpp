// Format detection, the signature search and the page scan over built files and damaged copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "analysis/mdb_recovery.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"
#include "tests/support/page_builder.h"

namespace {

using analysis::g_pageMap;
using analysis::MdbRecovery;
using analysis::ProgressChannel;
using testsupport::FileBuilder;
using testsupport::PageBuilder;
using testsupport::TempFolder;

std::vector<uint8_t> jet3Start() {
  // Six 2048-byte pages with the older layout's signature words.
  std::vector<uint8_t> bytes(6 * 2048, 0);
  auto put16 = [&](size_t at, uint16_t v) {
    bytes[at] = v & 0xFF;
    bytes[at + 1] = v >> 8;
  };
  put16(0, 0x0100);
  put16(2048, 0x0101);
  for (size_t p = 2; p < 6; ++p) {
    put16(p * 2048, 0x0102);
    put16(p * 2048 + 2, 0x4356);
  }
  return bytes;
}

class FormatDetectionTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = folder_.file(name);
    testsupport::WriteWholeFile(path, bytes);
    return path;
  }
  TempFolder folder_;
  ProgressChannel channel_;
};

TEST_F(FormatDetectionTest, DetectsEachLayout) {
  MdbRecovery recovery(channel_);
  std::vector<uint8_t> jet4 = FileBuilder::Jet4Start(8).bytes();
  std::vector<uint8_t> shortFile(jet4.begin(), jet4.begin() + 5 * 4096);
  std::vector<uint8_t> pageOneWordFree = jet4;
  pageOneWordFree[4096 + 2] = 0x34;  // page 1's offset-2 word is not checked
  std::vector<uint8_t> pageZeroWord = jet4;
  pageZeroWord[2] = 0x01;  // page 0 needs 0 there

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int expected;
  };
  const std::vector<Case> cases = {
      {"jet4", jet4, 4},
      {"jet3", jet3Start(), 0},
      {"shorter than six pages", shortFile, -1},
      {"page 1 second word unchecked", pageOneWordFree, 4},
      {"page 0 second word checked", pageZeroWord, -1},
      {"empty file", {}, -1},
  };
  testsupport::RecordingView view;
  platform::InstallMessageSink(&view);
  for (const auto& c : cases) {
    channel_.reset();
    ASSERT_TRUE(recovery.OpenDatabaseFile(write("f.mdb", c.bytes))) << c.name;
    EXPECT_EQ(recovery.DetectFormat(), c.expected) << c.name;
    EXPECT_EQ(channel_.abort.load(), c.expected == 0 ? 1 : 0) << c.name;
  }
  platform::InstallMessageSink(nullptr);
  EXPECT_EQ(view.messages(), std::vector<std::string>{"File format not Supported."});
}

TEST_F(FormatDetectionTest, PageScanRecordsEveryPageAndAPartialLastOne) {
  FileBuilder file = FileBuilder::Jet4Start(10);
  PageBuilder usage(5);
  usage.u32(4, 0x12345678);
  file.setPage(7, usage.page());
  PageBuilder data = PageBuilder::DataPage(2);
  data.addRow({1, 2, 3});
  file.setPage(8, data.page());
  std::vector<uint8_t> bytes = file.bytes();
  bytes.insert(bytes.end(), 100, 0xAB);

  MdbRecovery recovery(channel_);
  auto outcome = testsupport::RunAnalysis(recovery, write("ten.mdb", bytes));
  EXPECT_TRUE(outcome.ok);
  ASSERT_EQ(g_pageMap.size(), 11u);
  EXPECT_EQ(channel_.pagesTotal.load() == 10 || channel_.pagesTotal.load() == 0, true);
  const auto* usagePage = g_pageMap.findByNumber(7);
  ASSERT_NE(usagePage, nullptr);
  EXPECT_EQ(usagePage->pageType, 5);
  EXPECT_EQ(usagePage->owner, -1);
  EXPECT_EQ(usagePage->rowCount, 0);
  const auto* dataPage = g_pageMap.findByNumber(8);
  EXPECT_EQ(dataPage->owner, 2);
  EXPECT_EQ(dataPage->rowCount, 1);
  EXPECT_EQ(dataPage->fileOffset, 8u * 4096);
  EXPECT_EQ(g_pageMap[10].pageType, 0xAB);
  EXPECT_EQ(g_pageMap[10].pageNumber, 10u);
}

// Pages are read in blocks of many pages: pages on either side of each block edge, a file that
// ends exactly on an edge and a last short page after one keep their own numbers and fields.
TEST_F(FormatDetectionTest, PageScanKeepsEveryPageAcrossReadBlocks) {
  for (const int pages : {64, 128, 131}) {
    for (const bool shortLastPage : {false, true}) {
      FileBuilder file = FileBuilder::Jet4Start(pages);
      for (int n = 6; n < pages; ++n) {
        PageBuilder data = PageBuilder::DataPage(n + 1000);
        for (int r = 0; r < n % 5; ++r) data.addRow({1, 2, 3});
        file.setPage(n, data.page());
      }
      std::vector<uint8_t> bytes = file.bytes();
      // A short last data page: its owner's high bytes lie after the file's end and read as zeros.
      if (shortLastPage) bytes.insert(bytes.end(), {0x01, 0x00, 0x00, 0x00, 0x34, 0x12});
      const int extraPage = shortLastPage ? 1 : 0;
      const std::string at = std::to_string(pages) + " pages" + (shortLastPage ? " + 6 bytes" : "");

      MdbRecovery recovery(channel_);
      channel_.reset();
      ASSERT_TRUE(recovery.OpenDatabaseFile(write("blocks.mdb", bytes))) << at;
      channel_.setUnattended(true);
      EXPECT_EQ(recovery.ScanPages(), pages + extraPage) << at;
      EXPECT_EQ(channel_.pagesRead.load(), pages) << at;
      for (int n = 6; n < pages; ++n) {
        const auto& meta = g_pageMap[static_cast<size_t>(n)];
        EXPECT_EQ(meta.pageNumber, static_cast<uint32_t>(n)) << at;
        EXPECT_EQ(meta.fileOffset, static_cast<uint64_t>(n) * 4096) << at;
        EXPECT_EQ(meta.owner, n + 1000) << at << ", page " << n;
        EXPECT_EQ(meta.rowCount, n % 5) << at << ", page " << n;
      }
      if (shortLastPage) {
        const auto& last = g_pageMap[static_cast<size_t>(pages)];
        EXPECT_EQ(last.pageType, 1) << at;
        EXPECT_EQ(last.owner, 0x1234) << at;
        EXPECT_EQ(last.rowCount, 0) << at;
      }

      // From an offset: the same pages, numbered from 1 at the start offset.
      channel_.reset();
      channel_.setUnattended(true);
      EXPECT_EQ(recovery.ScanPagesFromOffset(4096), pages - 1 + extraPage) << at;
      for (int n = 6; n < pages; ++n) {
        const auto& meta = g_pageMap[static_cast<size_t>(n - 1)];
        EXPECT_EQ(meta.pageNumber, static_cast<uint32_t>(n)) << at;
        EXPECT_EQ(meta.owner, n + 1000) << at << ", page " << n;
      }
      channel_.setUnattended(false);
    }
  }
}

TEST_F(FormatDetectionTest, ScanFromOffsetNumbersFromOneAndLooksUpByNumber) {
  std::vector<uint8_t> bytes = FileBuilder::Jet4Start(8).bytes();
  bytes.erase(bytes.begin(), bytes.begin() + 3096);  // page 1 now starts at 1000
  MdbRecovery recovery(channel_);
  ASSERT_TRUE(recovery.OpenDatabaseFile(write("cut.mdb", bytes)));
  channel_.abort = 1;  // no window side in this test: publish without waiting
  recovery.ScanPagesFromOffset(1000);
  ASSERT_GE(g_pageMap.size(), 1u);
  EXPECT_EQ(g_pageMap[0].pageNumber, 1u);
  EXPECT_EQ(g_pageMap[0].fileOffset, 1000u);
}

TEST_F(FormatDetectionTest, DamagedStartsAreFoundBySignature) {
  std::vector<uint8_t> intact = FileBuilder::Jet4Start(12).bytes();
  std::vector<uint8_t> zeroedHeader = intact;
  std::fill(zeroedHeader.begin(), zeroedHeader.begin() + 4096, 0);
  std::vector<uint8_t> cut(intact.begin() + 3096, intact.end());
  std::vector<uint8_t> prefixed(1000, 0x5A);
  prefixed.insert(prefixed.end(), intact.begin(), intact.end());
  std::vector<uint8_t> sevenPagesIn(7 * 4096, 0);
  sevenPagesIn.insert(sevenPagesIn.end(), intact.begin() + 4096, intact.end());
  auto destroyed = [](std::vector<uint8_t> bytes, size_t offset, std::initializer_list<int> pages) {
    for (int page : pages) std::fill_n(bytes.begin() + static_cast<long>(offset + page * 4096u), 4096, uint8_t{0xA7});
    return bytes;
  };

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ok;
    uint32_t firstNumber;
    uint64_t firstOffset;
  };
  const std::vector<Case> cases = {
      {"zeroed header page", zeroedHeader, true, 0, 0},
      {"first 3096 bytes cut", cut, true, 1, 1000},
      {"1000 bytes prepended", prefixed, true, 1, 5096},
      {"page 1 seven pages in", sevenPagesIn, false, 0, 0},
      // Most of pages 1 to 5 still name the start.
      {"page 1 destroyed", destroyed(intact, 0, {1}), true, 0, 0},
      {"pages 3 and 5 destroyed behind a prefix", destroyed(prefixed, 1000, {3, 5}), true, 1, 5096},
      {"pages 1, 3 and 4 destroyed", destroyed(intact, 0, {1, 3, 4}), false, 0, 0},
  };
  for (const auto& c : cases) {
    MdbRecovery recovery(channel_);
    auto outcome = testsupport::RunAnalysis(recovery, write("damaged.mdb", c.bytes));
    EXPECT_EQ(outcome.ok, c.ok) << c.name;
    if (!c.ok) {
      EXPECT_EQ(outcome.messages, std::vector<std::string>{" This file is highly corrupted and cannot be recovered. "})
          << c.name;
      continue;
    }
    ASSERT_FALSE(g_pageMap.empty()) << c.name;
    EXPECT_EQ(g_pageMap[0].pageNumber, c.firstNumber) << c.name;
    EXPECT_EQ(g_pageMap[0].fileOffset, c.firstOffset) << c.name;
    const auto* pageTwo = g_pageMap.findByNumber(2);
    ASSERT_NE(pageTwo, nullptr) << c.name;
    EXPECT_EQ(pageTwo->pageType, 2) << c.name;
    EXPECT_EQ(pageTwo->fileOffset, c.firstOffset + (c.firstNumber == 0 ? 2 : 1) * 4096u) << c.name;
  }
}

TEST_F(FormatDetectionTest, StorageFormatComesFromThePath) {
  const std::vector<uint8_t> bytes = FileBuilder::Jet4Start(6).bytes();
  testsupport::CreateFolderForTest(folder_.file("dir.mdb"));
  struct Case {
    std::string path;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {write("a.mdb", bytes), "MS-Access 2003"},
      {write("b.MDB", bytes), "MS-Access 2007"},
      {write("c.accdb", bytes), "MS-Access 2007"},
      {write("dir.mdb/d.accdb", bytes), "MS-Access 2003"},
  };
  for (const auto& c : cases) {
    MdbRecovery recovery(channel_);
    auto outcome = testsupport::RunAnalysis(recovery, c.path);
    EXPECT_TRUE(outcome.ok) << c.path;
    EXPECT_EQ(channel_.storageFormat(), c.expected) << c.path;
  }
}

TEST_F(FormatDetectionTest, StopDuringThePageScanEndsItWithThePagesRead) {
  // Stop pressed while the window shows the scan under way. The scan does not wait for the
  // window, so the file is large (a sparse gigabyte of empty pages) to be caught in flight; it
  // ends at the next page and keeps exactly the pages it read.
  class StopWhileScanning : public testsupport::RecordingView {
   public:
    explicit StopWhileScanning(ProgressChannel& channel) : channel_(channel) {}
    void percentChanged(int percent) override {
      if (percent >= 1 && percent < 25 && !channel_.abort) channel_.abort = 1;
    }

   private:
    ProgressChannel& channel_;
  };
  const std::string path = write("big.mdb", FileBuilder::Jet4Start(6).bytes());
  constexpr uintmax_t kPages = 262144;
  std::filesystem::resize_file(path, kPages * testsupport::kTestPageSize);
  MdbRecovery recovery(channel_);
  StopWhileScanning view(channel_);
  auto outcome = testsupport::RunAnalysis(recovery, path, &view);
  EXPECT_TRUE(outcome.ok);
  EXPECT_GT(g_pageMap.size(), 0u);
  EXPECT_LT(g_pageMap.size(), kPages);
  EXPECT_EQ(g_pageMap[g_pageMap.size() - 1].pageNumber, g_pageMap.size() - 1);
}

TEST_F(FormatDetectionTest, OpeningASecondFileEmptiesTheLists) {
  MdbRecovery recovery(channel_);
  testsupport::RunAnalysis(recovery, write("one.mdb", FileBuilder::Jet4Start(9).bytes()));
  EXPECT_EQ(g_pageMap.size(), 9u);
  EXPECT_FALSE(recovery.OpenDatabaseFile(folder_.file("missing.mdb")));
  EXPECT_TRUE(g_pageMap.empty());
  EXPECT_EQ(channel_.statusText(), "Opening file failed...");
  EXPECT_EQ(recovery.ScanPages(), -1);
  EXPECT_EQ(recovery.ReadPageByNumber(nullptr, 0), -1);
}

}  // namespace

namespace {

TEST(UnattendedChannelTest, AnalyzeRunsWithoutAWindowSide) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("plain.mdb");
  FileBuilder::Jet4Start(30).write(path);
  ProgressChannel channel;
  channel.setUnattended(true);
  MdbRecovery recovery(channel);
  EXPECT_TRUE(recovery.Analyze(path));
  EXPECT_EQ(g_pageMap.size(), 30u);
}

}  // namespace
