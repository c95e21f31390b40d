// Orphan tables: their rows read straight from the owner's data pages, their layout inferred
// or borrowed from a sibling definition that the rows fit.
#include "analysis/orphan_tables.h"

#include <algorithm>
#include <memory>

#include "analysis/layout_inference.h"
#include "analysis/row_shape.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr int32_t kUsageMapOwner = 0;
constexpr int32_t kFreePageMapOwner = 1;
constexpr int32_t kCatalogOwner = 2;
constexpr int32_t kLongValueOwner = 0x4C41564C;  // "LVAL"
constexpr int64_t kRowCountOffset = 12;
constexpr int64_t kRowTableOffset = 14;
constexpr uint16_t kRowOffsetMask = 0x1FFF;
constexpr uint16_t kRowDeletedFlag = 0x4000;  // deleted rows and pointers to moved rows
constexpr size_t kInferencePages = 256;       // pages whose rows decide the layout

// The live rows of some data pages; the pages stay loaded for the views.
struct PageRows {
  std::vector<std::unique_ptr<std::vector<uint8_t>>> pages;
  std::vector<support::ByteView> rows;
  int64_t unreadable = 0;  // entries that point outside their page
};

void collectRows(MdbRecovery& recovery, uint32_t pageNumber, PageRows& into) {
  auto buffer = std::make_unique<std::vector<uint8_t>>(kPageSize, 0);
  if (recovery.ReadPageByNumber(buffer->data(), pageNumber) <= 0) return;
  for (const support::ByteView& row : LiveRowsOfPage(support::ByteView(*buffer), into.unreadable))
    into.rows.push_back(row);
  into.pages.push_back(std::move(buffer));
}

PageSource pageSource(MdbRecovery& recovery) {
  return [&recovery](uint32_t number) {
    std::vector<uint8_t> page(kPageSize, 0);
    if (recovery.ReadPageByNumber(page.data(), number) <= 0) page.clear();
    return page;
  };
}

int64_t rowsFitting(const std::vector<support::ByteView>& rows, const Table& layout) {
  return std::count_if(rows.begin(), rows.end(), [&](support::ByteView row) { return RowFitsLayout(row, layout); });
}

int typesAgreeing(const Table& sibling, const Table& inferred) {
  int agreeing = 0;
  for (const Column& column : sibling.columns)
    for (const Column& guess : inferred.columns)
      if (guess.columnNumber == column.columnNumber && guess.type == column.type) ++agreeing;
  return agreeing;
}

// The sibling definition that fits as many rows as the inferred layout, the one whose types
// agree most with the inferred ones when several do; nullptr when none does.
const Table* fittingSibling(const std::vector<Table>& siblings, const std::vector<support::ByteView>& rows,
                            const Table& inferred, int64_t inferredFitting) {
  const Table* best = nullptr;
  int bestAgreeing = -1;
  for (const Table& sibling : siblings) {
    if (sibling.maxColumns != inferred.maxColumns || sibling.columns.empty()) continue;
    Table candidate;
    candidate.columns = sibling.columns;
    candidate.maxColumns = sibling.maxColumns;
    candidate.variableColumnCount = sibling.variableColumnCount;
    candidate.layoutSource = "sibling";
    if (rowsFitting(rows, candidate) < inferredFitting) continue;
    const int agreeing = typesAgreeing(sibling, inferred);
    if (agreeing > bestAgreeing) best = &sibling, bestAgreeing = agreeing;
  }
  return best;
}
}  // namespace

std::vector<support::ByteView> LiveRowsOfPage(support::ByteView page, int64_t& unreadable) {
  std::vector<support::ByteView> rows;
  const int64_t pageSize = static_cast<int64_t>(page.size());
  const int64_t entries = std::min<int64_t>(page.u16(kRowCountOffset), (pageSize - kRowTableOffset) / 2);
  int64_t previousStart = pageSize;
  for (int64_t i = 0; i < entries; ++i) {
    const uint16_t entry = page.u16(kRowTableOffset + 2 * i);
    const int64_t start = entry & kRowOffsetMask;
    const int64_t end = previousStart;  // one past the row's last byte
    previousStart = start;
    if (entry & kRowDeletedFlag) continue;
    if (start < kRowTableOffset + 2 * entries || start >= end || end > pageSize) {
      ++unreadable;
      continue;
    }
    rows.push_back(page.slice(start, end - start));
  }
  return rows;
}

std::vector<int32_t> FindOrphanOwners(const PageMap& pages, const std::unordered_set<uint32_t>& definitionPages,
                                      const std::unordered_set<uint32_t>& freePages) {
  std::unordered_set<int32_t> owners;
  for (const PageMetaData& page : pages) {
    if (page.pageType != 1 || freePages.count(page.pageNumber)) continue;
    const int32_t owner = page.owner;
    if (owner == kUsageMapOwner || owner == kFreePageMapOwner || owner == kCatalogOwner || owner == kLongValueOwner ||
        owner < 0)
      continue;
    if (definitionPages.count(static_cast<uint32_t>(owner)) == 0) owners.insert(owner);
  }
  std::vector<int32_t> sorted(owners.begin(), owners.end());
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

bool GiveOrphanLayout(MdbRecovery& recovery, Table& table, const std::vector<Table>& siblings,
                      const std::unordered_set<uint32_t>& freePages) {
  std::vector<uint32_t> owned;
  for (uint32_t page : g_pageMap.dataPagesOwnedBy(static_cast<int32_t>(table.tdefPage)))
    if (!freePages.count(page)) owned.push_back(page);
  PageRows sample;
  for (size_t i = 0; i < owned.size() && i < kInferencePages; ++i) collectRows(recovery, owned[i], sample);
  const InferredLayout layout = InferRowLayout(sample.rows, pageSource(recovery));
  if (!layout.found) return false;

  Table inferred;
  ApplyInferredLayout(layout, inferred);
  int64_t fitting = layout.rowsFitting;
  if (const Table* sibling = fittingSibling(siblings, sample.rows, inferred, fitting)) {
    table.columns = sibling->columns;
    table.maxColumns = sibling->maxColumns;
    table.variableColumnCount = sibling->variableColumnCount;
    table.columnCount = static_cast<uint32_t>(sibling->columns.size());
    table.fixedAreaSize = -1;
    table.layoutSource = "sibling";
    fitting = rowsFitting(sample.rows, table);
  } else {
    ApplyInferredLayout(layout, table);
  }
  int64_t unreadable = sample.unreadable + static_cast<int64_t>(sample.rows.size()) - fitting;
  for (size_t i = kInferencePages; i < owned.size(); ++i) {
    PageRows more;
    collectRows(recovery, owned[i], more);
    const int64_t fit = rowsFitting(more.rows, table);
    fitting += fit;
    unreadable += more.unreadable + static_cast<int64_t>(more.rows.size()) - fit;
  }
  table.unreadableRows = unreadable;
  table.rowCount = static_cast<uint32_t>(fitting);
  table.dataPages.clear();
  for (uint32_t page : owned) table.dataPages.push_back(static_cast<int32_t>(page));
  return true;
}

}  // namespace analysis
