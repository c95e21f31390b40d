// Packing sorted index entries into leaf and intermediate pages.
#include "jet4/index_pages.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "jet4/page_file.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr int kEntriesStart = 0x1E0;
constexpr int kEntryBitmap = 0x1B;
constexpr int kEntrySpace = kPageSize - kEntriesStart;

std::string leafEntry(const IndexEntry& entry) {
  std::string bytes = entry.key;
  bytes += static_cast<char>((entry.page >> 16) & 0xFF);
  bytes += static_cast<char>((entry.page >> 8) & 0xFF);
  bytes += static_cast<char>(entry.page & 0xFF);
  bytes += static_cast<char>(entry.row);
  return bytes;
}

struct NodePage {
  uint32_t number = 0;
  std::vector<std::string> entries;
  std::string lastLeafEntry;  // the greatest leaf entry below this page
  uint32_t tail = 0;
};

// Splits entries into pages of at most kEntrySpace bytes each.
std::vector<std::vector<std::string>> pack(std::vector<std::string> entries) {
  std::vector<std::vector<std::string>> pages(1);
  int used = 0;
  for (std::string& entry : entries) {
    const int size = static_cast<int>(entry.size());
    if (used + size > kEntrySpace && !pages.back().empty()) {
      pages.emplace_back();
      used = 0;
    }
    used += size;
    pages.back().push_back(std::move(entry));
  }
  return pages;
}

void writeNode(PageFile& file, uint32_t tdefPage, uint8_t type, const NodePage& node, uint32_t prev, uint32_t next) {
  std::array<uint8_t, kPageSize> page{};
  page[0] = type;
  page[1] = 0x01;
  Put32(&page[4], tdefPage);
  Put32(&page[0x0C], prev);
  Put32(&page[0x10], next);
  Put32(&page[0x14], node.tail);
  page[0x1A] = type == kPageIndexNode ? 1 : 0;
  int offset = kEntriesStart;
  for (const std::string& entry : node.entries) {
    std::memcpy(&page[static_cast<size_t>(offset)], entry.data(), entry.size());
    offset += static_cast<int>(entry.size());
    const int bit = offset - kEntriesStart;
    page[static_cast<size_t>(kEntryBitmap + bit / 8)] |= static_cast<uint8_t>(1u << (bit % 8));
  }
  Put16(&page[2], static_cast<uint32_t>(kPageSize - offset));
  file.write(node.number, page.data());
}

void writeLevel(PageFile& file, uint32_t tdefPage, uint8_t type, const std::vector<NodePage>& level) {
  for (size_t i = 0; i < level.size(); ++i) {
    const uint32_t prev = i > 0 ? level[i - 1].number : 0;
    const uint32_t next = i + 1 < level.size() ? level[i + 1].number : 0;
    writeNode(file, tdefPage, type, level[i], prev, next);
  }
}
}  // namespace

WrittenIndex WriteIndex(PageFile& file, uint32_t tdefPage, std::vector<IndexEntry> entries) {
  WrittenIndex result;
  std::vector<std::string> leafEntries;
  leafEntries.reserve(entries.size());
  for (const IndexEntry& entry : entries) leafEntries.push_back(leafEntry(entry));
  std::sort(leafEntries.begin(), leafEntries.end());
  std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) { return a.key < b.key; });
  for (size_t i = 0; i < entries.size(); ++i)
    if (i == 0 || entries[i].key != entries[i - 1].key) ++result.distinctKeys;

  std::vector<NodePage> level;
  for (auto& pageEntries : pack(std::move(leafEntries))) {
    NodePage node;
    node.number = file.allocate();
    node.lastLeafEntry = pageEntries.empty() ? std::string() : pageEntries.back();
    node.entries = std::move(pageEntries);
    result.pages.push_back(node.number);
    level.push_back(std::move(node));
  }
  writeLevel(file, tdefPage, kPageIndexLeaf, level);

  while (level.size() > 1) {
    // A parent lists its children by their greatest leaf entries, all but its last child,
    // which is its tail.
    std::vector<NodePage> parents;
    size_t child = 0;
    while (child < level.size()) {
      NodePage node;
      node.number = file.allocate();
      int used = 0;
      while (child + 1 < level.size()) {
        std::string entry = level[child].lastLeafEntry;
        for (int shift = 24; shift >= 0; shift -= 8) entry += static_cast<char>((level[child].number >> shift) & 0xFF);
        if (used + static_cast<int>(entry.size()) > kEntrySpace && !node.entries.empty()) break;
        used += static_cast<int>(entry.size());
        node.entries.push_back(std::move(entry));
        ++child;
      }
      node.tail = level[child].number;
      node.lastLeafEntry = level[child].lastLeafEntry;
      ++child;
      result.pages.push_back(node.number);
      parents.push_back(std::move(node));
    }
    writeLevel(file, tdefPage, kPageIndexNode, parents);
    level = std::move(parents);
  }
  result.rootPage = level.front().number;
  return result;
}

}  // namespace jet4
