// Index trees: one leaf while the entries fit, else linked leaves under intermediate pages
// whose entries name every child but the last (the tail).
#include "jet4/index_pages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "jet4/index_keys.h"
#include "jet4/page_file.h"
#include "jet4/page_format.h"
#include "support/byte_view.h"
#include "tests/support/corpus.h"

namespace {

using support::ByteView;

struct Page {
  std::vector<uint8_t> bytes;
  ByteView view() const { return ByteView(bytes); }
};

// The entries of a page, cut where its entry-end bitmap says.
std::vector<std::string> entriesOf(const Page& page) {
  std::vector<std::string> entries;
  size_t start = 0x1E0;
  for (size_t bit = 0; bit < 453 * 8; ++bit) {
    if ((page.view().u8(0x1B + static_cast<int64_t>(bit / 8)) >> (bit % 8) & 1) == 0) continue;
    const size_t end = 0x1E0 + bit;
    entries.emplace_back(reinterpret_cast<const char*>(page.bytes.data() + start), end - start);
    start = end;
  }
  return entries;
}

class IndexPagesTest : public ::testing::Test {
 protected:
  std::vector<Page> write(std::vector<jet4::IndexEntry> entries, jet4::WrittenIndex& written) {
    const std::string path = folder_.file("index.bin");
    jet4::PageFile file;
    file.create(path);
    file.allocate();  // page 0 stays empty
    written = jet4::WriteIndex(file, 2, std::move(entries));
    file.finish();
    const auto bytes = testsupport::ReadWholeFile(path);
    std::vector<Page> pages;
    for (size_t at = 0; at < bytes.size(); at += jet4::kPageSize)
      pages.push_back(Page{std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + jet4::kPageSize)});
    return pages;
  }
  testsupport::TempFolder folder_;
};

std::vector<jet4::IndexEntry> longEntries(int count) {
  std::vector<jet4::IndexEntry> entries;
  for (int i = count; i-- > 0;) {  // given in reverse: the writer sorts
    jet4::IndexEntry entry;
    jet4::AppendLongKey(entry.key, i);
    entry.page = 0x100 + static_cast<uint32_t>(i / 100);
    entry.row = static_cast<uint8_t>(i % 100);
    entries.push_back(entry);
  }
  return entries;
}

TEST_F(IndexPagesTest, FewEntriesMakeOneSortedLeaf) {
  jet4::WrittenIndex written;
  auto entries = longEntries(3);
  jet4::IndexEntry duplicate = entries.front();
  duplicate.row = 99;
  entries.push_back(duplicate);
  const auto pages = write(entries, written);
  ASSERT_EQ(written.pages.size(), 1u);
  EXPECT_EQ(written.distinctKeys, 3u);
  const Page& leaf = pages.at(written.rootPage);
  EXPECT_EQ(leaf.view().u16(0), 0x0104);
  EXPECT_EQ(leaf.view().u32(4), 2u);
  const auto found = entriesOf(leaf);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));
  EXPECT_EQ(found[0], std::string("\x7f\x80\x00\x00\x00\x00\x01\x00\x00", 9));  // key 0 -> page 0x100 row 0
  EXPECT_EQ(leaf.view().u16(2), 4096 - 480 - 4 * 9);
}

TEST_F(IndexPagesTest, ManyEntriesMakeLinkedLeavesUnderAnIntermediateRoot) {
  jet4::WrittenIndex written;
  const int count = 1000;  // 9 bytes each: three leaves
  const auto pages = write(longEntries(count), written);
  const Page& root = pages.at(written.rootPage);
  ASSERT_EQ(root.view().u8(0), jet4::kPageIndexNode);
  EXPECT_EQ(root.view().u8(0x1A), 1);
  const auto children = entriesOf(root);
  ASSERT_GE(children.size(), 1u);

  // Each listed child is named by its last entry followed by its page number (big-endian).
  const auto childPage = [](const std::string& entry) {
    uint32_t page = 0;
    for (size_t i = entry.size() - 4; i < entry.size(); ++i) page = (page << 8) | static_cast<uint8_t>(entry[i]);
    return page;
  };
  for (const std::string& child : children) {
    const auto entries = entriesOf(pages.at(childPage(child)));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), child.substr(0, child.size() - 4));
  }

  // The leaves, from the first child along the next links, hold every entry in order and end
  // with the root's tail.
  std::vector<std::string> all;
  uint32_t page = childPage(children.front()), previous = 0;
  for (int hops = 0; page != 0 && hops < 100; ++hops) {
    const Page& leaf = pages.at(page);
    EXPECT_EQ(leaf.view().u8(0), jet4::kPageIndexLeaf);
    EXPECT_EQ(leaf.view().u32(0x0C), previous);
    const auto entries = entriesOf(leaf);
    all.insert(all.end(), entries.begin(), entries.end());
    previous = page;
    page = leaf.view().u32(0x10);
  }
  EXPECT_EQ(all.size(), static_cast<size_t>(count));
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
  EXPECT_EQ(root.view().u32(0x14), previous);
  EXPECT_EQ(written.pages.size(), children.size() + 2);  // the listed leaves, the tail, the root
}

}  // namespace
