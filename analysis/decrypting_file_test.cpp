// Reads through an encrypted file: any offset and length gives the plain bytes, and an
// analysis of an encrypted file sees the same pages as of the plain one.
#include "analysis/decrypting_file.h"

#include <gtest/gtest.h>

#include "analysis/mdb_recovery.h"
#include "jet4/header_page.h"
#include "tests/support/corpus.h"
#include "tests/support/encrypted_copy.h"
#include "tests/support/page_builder.h"

namespace analysis {
namespace {

std::vector<uint8_t> plainFile() {
  const auto header = jet4::BuildHeaderPage(jet4::HeaderSettings{});
  auto builder = testsupport::FileBuilder::Jet4Start(9).setPage(0, {header.begin(), header.end()});
  std::vector<uint8_t> bytes = builder.bytes();
  for (size_t i = 4096; i < bytes.size(); ++i)
    if (i % 4096 >= 16) bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
  bytes.resize(bytes.size() - 100);  // a short last page
  return bytes;
}

TEST(DecryptingFileTest, EveryRangeReadsAsPlain) {
  std::vector<uint8_t> plain = plainFile();
  const std::vector<uint8_t> encrypted = testsupport::JetRc4Encrypted(plain, 0xA7B773E0);
  // Page 0 is never encrypted: it reads as stored, its encoding key included.
  std::copy(encrypted.begin(), encrypted.begin() + 4096, plain.begin());
  testsupport::TempFolder folder;
  testsupport::WriteWholeFile(folder.file("enc.mdb"), encrypted);

  DecryptingFile file;
  ASSERT_TRUE(file.open(folder.file("enc.mdb")));
  std::vector<uint8_t> page0(4096);
  file.readRawAt(0, page0.data(), page0.size());
  const UnlockResult unlock = UnlockPages(ParseEncryptionHeader(support::ByteView(page0)), std::nullopt);
  ASSERT_EQ(unlock.status, UnlockStatus::Unlocked);
  file.setCipher(unlock.cipher);

  struct Range {
    int64_t offset;
    size_t count;
  };
  const int64_t size = static_cast<int64_t>(plain.size());
  for (const Range range :
       {Range{0, 4096}, Range{4096, 4096}, Range{4000, 300}, Range{5000, 10000}, Range{0, plain.size()},
        Range{size - 50, 50}, Range{size - 50, 500}, Range{size, 10}, Range{size + 4096, 10}, Range{8191, 2}}) {
    std::vector<uint8_t> got(range.count, 0xEE);
    const int64_t read = file.readAt(range.offset, got.data(), got.size());
    const int64_t expected = std::max<int64_t>(0, std::min<int64_t>(range.count, size - range.offset));
    ASSERT_EQ(read, expected) << range.offset;
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + read, plain.begin() + range.offset)) << range.offset;
  }
}

TEST(DecryptingFileTest, AnEncryptedFileAnalysesLikeItsPlainOne) {
  const std::vector<uint8_t> plain = plainFile();
  testsupport::TempFolder folder;
  testsupport::WriteWholeFile(folder.file("plain.mdb"), plain);
  testsupport::WriteWholeFile(folder.file("enc.mdb"), testsupport::JetRc4Encrypted(plain, 0x12345678));
  std::vector<std::vector<uint8_t>> types;
  for (const char* name : {"plain.mdb", "enc.mdb"}) {
    ProgressChannel channel;
    channel.setUnattended(true);
    MdbRecovery recovery(channel);
    ASSERT_TRUE(recovery.OpenDatabaseFile(folder.file(name)));
    ASSERT_TRUE(recovery.UnlockFile());
    EXPECT_EQ(recovery.IsEncrypted(), std::string(name) == "enc.mdb");
    EXPECT_EQ(recovery.DetectFormat(), kStorageFormat4) << name;
    recovery.ScanPages();
    std::vector<uint8_t> seen;
    for (const auto& page : g_pageMap) seen.push_back(static_cast<uint8_t>(page.pageType));
    types.push_back(seen);
  }
  EXPECT_EQ(types[0], types[1]);
}

}  // namespace
}  // namespace analysis
