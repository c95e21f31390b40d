// Damaged copies. Pages are recognised by their own bytes: type at 0 (1 data, 2 table
// definition), owner at 4 (a definition's page number, or "LVAL" for long values).
#include "tests/support/damage_generator.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace testsupport {

namespace {
constexpr size_t kPage = 4096;
constexpr uint32_t kCatalogDefinitionPage = 2;
constexpr size_t kFirstUserPage = 6;  // pages 2 to 5 define the engine's own tables
constexpr uint32_t kLongValueOwner = 0x4C41564C;

size_t pageCount(const std::vector<uint8_t>& bytes) {
  return bytes.size() / kPage;
}

uint32_t owner(const std::vector<uint8_t>& bytes, size_t page) {
  const uint8_t* p = bytes.data() + page * kPage + 4;
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool isDataPageOf(const std::vector<uint8_t>& bytes, size_t page, uint32_t definition) {
  return bytes[page * kPage] == 1 && owner(bytes, page) == definition;
}

void zeroPage(std::vector<uint8_t>& bytes, size_t page) {
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(page * kPage), kPage, uint8_t{0});
}

void randomPage(std::vector<uint8_t>& bytes, size_t page, std::mt19937& random) {
  for (size_t i = 0; i < kPage; ++i) bytes[page * kPage + i] = static_cast<uint8_t>(random());
}

// The table definition after the engine's own that owns the most data pages: the largest user
// table. 0 when there is none.
size_t largestTableDefinition(const std::vector<uint8_t>& bytes) {
  size_t best = 0, bestPages = 0;
  for (size_t page = kFirstUserPage; page < pageCount(bytes); ++page) {
    if (bytes[page * kPage] != 2) continue;
    size_t owned = 0;
    for (size_t data = 1; data < pageCount(bytes); ++data)
      owned += isDataPageOf(bytes, data, static_cast<uint32_t>(page));
    if (owned > bestPages) best = page, bestPages = owned;
  }
  return best;
}

// The user table definition with the most of its data pages in front of it: a file cut off at
// that definition keeps those pages. 0 when every table's data follows its definition.
size_t definitionAfterItsData(const std::vector<uint8_t>& bytes) {
  size_t best = 0, bestPages = 0;
  for (size_t page = kFirstUserPage; page < pageCount(bytes); ++page) {
    if (bytes[page * kPage] != 2) continue;
    size_t before = 0;
    for (size_t data = 1; data < page; ++data) before += isDataPageOf(bytes, data, static_cast<uint32_t>(page));
    if (before > bestPages) best = page, bestPages = before;
  }
  return best;
}

std::string percent(double share) {
  return std::to_string(static_cast<int>(share * 100 + 0.5)) + "%";
}
}  // namespace

std::vector<DamagedCopy> MakeDamagedCopies(const std::vector<uint8_t>& intact, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<DamagedCopy> copies;
  const size_t pages = pageCount(intact);
  auto add = [&](const std::string& kind, const std::string& variant) -> std::vector<uint8_t>& {
    copies.push_back({kind, variant, intact});
    return copies.back().bytes;
  };

  if (pages > 0) zeroPage(add("zeroed header page", "page 0"), 0);

  // Cuts inside a page, so that the last page is partial too.
  for (double share : {0.9, 0.5, 0.2}) {
    std::vector<uint8_t>& bytes = add("truncation", "at " + percent(share));
    bytes.resize(static_cast<size_t>(static_cast<double>(intact.size()) * share) / kPage * kPage + 1000);
    copies.back().keptPages = bytes.size() / kPage;
  }

  {
    std::vector<uint8_t>& bytes = add("catalog pages zeroed", "pages owned by page 2");
    for (size_t page = 1; page < pages; ++page)
      if (isDataPageOf(intact, page, kCatalogDefinitionPage)) zeroPage(bytes, page);
  }

  for (double share : {0.02, 0.1}) {
    std::vector<uint8_t>& bytes = add("random pages zeroed", percent(share) + " of the pages");
    const size_t count = std::max<size_t>(1, static_cast<size_t>(static_cast<double>(pages) * share));
    for (size_t i = 0; i < count && pages > 1; ++i) zeroPage(bytes, 1 + random() % (pages - 1));
  }

  for (int exponent : {5, 4, 3}) {
    std::vector<uint8_t>& bytes = add("bit flips", "1 in 10^" + std::to_string(exponent) + " bits");
    double flips = static_cast<double>(bytes.size()) * 8;
    for (int i = 0; i < exponent; ++i) flips /= 10;
    for (size_t i = 0; i < std::max<size_t>(1, static_cast<size_t>(flips)); ++i) {
      const size_t bit = random() % (bytes.size() * 8);
      bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    }
  }

  for (size_t length : {size_t{517}, kPage}) {
    std::vector<uint8_t>& bytes = add("garbage prefix", std::to_string(length) + " bytes");
    std::vector<uint8_t> prefix(length);
    for (uint8_t& b : prefix) b = static_cast<uint8_t>(random());
    bytes.insert(bytes.begin(), prefix.begin(), prefix.end());
  }

  if (const size_t definition = largestTableDefinition(intact); definition != 0)
    randomPage(add("table definition overwritten", "largest table's, page " + std::to_string(definition)), definition,
               random);

  if (const size_t definition = definitionAfterItsData(intact); definition != 0) {
    add("truncated before a definition", "at page " + std::to_string(definition)).resize(definition * kPage);
    copies.back().keptPages = definition;
  }

  std::vector<size_t> longValuePages;
  for (size_t page = 1; page < pages; ++page)
    if (isDataPageOf(intact, page, kLongValueOwner)) longValuePages.push_back(page);
  if (!longValuePages.empty()) {
    const size_t page = longValuePages[random() % longValuePages.size()];
    randomPage(add("long-value page destroyed", "page " + std::to_string(page)), page, random);
  }
  return copies;
}

}  // namespace testsupport
