// The catalog's indexes in a written file: every catalog row is reachable through both
// MSysObjects indexes (by parent and name, by id) and every access-control row through the
// MSysACEs index, with the text keys of the General sort order, also once the leaves split.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "format/text_codec.h"
#include "jet4/index_keys.h"
#include "jet4/jet4_engine.h"
#include "support/byte_view.h"
#include "tests/support/corpus.h"

namespace {

using support::ByteView;

struct Entry {
  std::string key;  // flag bytes and values
  uint32_t page;
  uint32_t row;
};

class WrittenFile {
 public:
  explicit WrittenFile(const std::string& path) : bytes_(testsupport::ReadWholeFile(path)) {}
  ByteView page(uint32_t number) const { return ByteView(bytes_).slice(int64_t{number} * 4096, 4096); }

  // Root pages of the real indexes of the single-page definition on tdefPage.
  std::vector<uint32_t> indexRoots(uint32_t tdefPage) const {
    const ByteView tdef = page(tdefPage);
    const uint32_t columns = tdef.u16(0x2D), realIndexes = tdef.u32(0x33);
    int64_t at = 0x3F + 12 * int64_t{realIndexes} + 25 * int64_t{columns};
    for (uint32_t i = 0; i < columns; ++i) at += 2 + tdef.u16(at);
    std::vector<uint32_t> roots;
    for (uint32_t i = 0; i < realIndexes; ++i) roots.push_back(tdef.u32(at + 52 * i + 0x26));
    return roots;
  }

  // The leaf entries below root, in tree order; intermediate pages list children by their
  // last entry plus a page number and keep the last child as the tail.
  std::vector<Entry> entries(uint32_t root, int depth = 0) const {
    std::vector<Entry> out;
    const ByteView node = page(root);
    if (depth > 4) return out;
    const bool leaf = node.u8(0) == 0x04;
    EXPECT_TRUE(leaf || node.u8(0) == 0x03) << root;
    int64_t start = 0x1E0;
    for (int64_t bit = 0; bit < 453 * 8; ++bit) {
      if ((node.u8(0x1B + bit / 8) >> (bit % 8) & 1) == 0) continue;
      const ByteView entry = node.slice(start, 0x1E0 + bit - start);
      start = 0x1E0 + bit;
      if (leaf) {
        const int64_t n = static_cast<int64_t>(entry.size());
        out.push_back(Entry{std::string(reinterpret_cast<const char*>(entry.data()), entry.size() - 4),
                            (uint32_t{entry.u8(n - 4)} << 16) | (uint32_t{entry.u8(n - 3)} << 8) | entry.u8(n - 2),
                            entry.u8(n - 1)});
      } else {
        const int64_t n = static_cast<int64_t>(entry.size());
        const uint32_t child = (uint32_t{entry.u8(n - 4)} << 24) | (uint32_t{entry.u8(n - 3)} << 16) |
                               (uint32_t{entry.u8(n - 2)} << 8) | entry.u8(n - 1);
        auto below = entries(child, depth + 1);
        out.insert(out.end(), below.begin(), below.end());
      }
    }
    if (!leaf) {
      auto tail = entries(node.u32(0x14), depth + 1);
      out.insert(out.end(), tail.begin(), tail.end());
    }
    return out;
  }

  // True when the pointer names a row of a data page of the table on tdefPage.
  bool pointsIntoTable(const Entry& entry, uint32_t tdefPage) const {
    const ByteView data = page(entry.page);
    return data.u8(0) == 0x01 && data.u32(4) == tdefPage && entry.row < data.u16(12);
  }

 private:
  std::vector<uint8_t> bytes_;
};

std::string parentNameKey(int32_t parent, const std::string& name) {
  std::string key;
  jet4::AppendLongKey(key, parent);
  jet4::AppendTextKey(key, format::Utf8ToUtf16(name));
  return key;
}

void checkCatalog(int userTables) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("catalog.accdb");
  std::vector<std::string> names = {"Tables",      "Databases", "Relationships", "MSysDb",
                                    "MSysObjects", "MSysACEs",  "MSysQueries",   "MSysRelationships"};
  std::vector<int32_t> parents = {0x0F000000, 0x0F000000, 0x0F000000, 0x0F000002,
                                  0x0F000001, 0x0F000001, 0x0F000001, 0x0F000001};
  {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    for (int i = 0; i < userTables; ++i) {
      names.push_back("Kunde " + std::to_string(i) + (i % 2 ? " Größe-l'été" : ""));
      parents.push_back(0x0F000001);
      db->Execute("CREATE TABLE [" + names.back() + "] ([ID] COUNTER)");
    }
    db->Close();
  }
  const WrittenFile file(path);
  const auto objectRoots = file.indexRoots(2);
  ASSERT_EQ(objectRoots.size(), 2u);
  const uint8_t rootType = userTables > 100 ? 0x03 : 0x04;  // an intermediate root once leaves split
  EXPECT_EQ(file.page(objectRoots[0]).u8(0), rootType);
  EXPECT_EQ(file.page(objectRoots[1]).u8(0), rootType);

  const auto byName = file.entries(objectRoots[0]);
  ASSERT_EQ(byName.size(), names.size());
  std::multiset<std::string> expectedKeys, foundKeys;
  for (size_t i = 0; i < names.size(); ++i) expectedKeys.insert(parentNameKey(parents[i], names[i]));
  std::set<std::pair<uint32_t, uint32_t>> rowsByName, rowsById;
  for (const Entry& e : byName) {
    foundKeys.insert(e.key);
    EXPECT_TRUE(file.pointsIntoTable(e, 2));
    rowsByName.insert({e.page, e.row});
  }
  EXPECT_EQ(foundKeys, expectedKeys);
  EXPECT_TRUE(
      std::is_sorted(byName.begin(), byName.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; }));

  const auto byId = file.entries(objectRoots[1]);
  ASSERT_EQ(byId.size(), names.size());
  for (const Entry& e : byId) rowsById.insert({e.page, e.row});
  EXPECT_EQ(rowsById, rowsByName);  // one catalog row, reached both ways
  EXPECT_TRUE(std::is_sorted(byId.begin(), byId.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; }));

  const auto aces = file.entries(file.indexRoots(3).at(0));
  EXPECT_EQ(aces.size(), 16u + 2u * static_cast<size_t>(userTables));
  for (const Entry& e : aces) EXPECT_TRUE(file.pointsIntoTable(e, 3));
}

TEST(CatalogIndexTest, FewTablesFitOneLeafPerIndex) {
  checkCatalog(3);
}

TEST(CatalogIndexTest, ManyTablesSplitTheLeaves) {
  checkCatalog(700);
}

}  // namespace
