// The program-wide lists and the page map's lookup by page number.
#include "analysis/model.h"

namespace analysis {

PageMap g_pageMap;
std::vector<Table> g_tables;
std::vector<uint64_t> g_candidateOffsets;
std::vector<Field> g_rowFields;
std::vector<std::unique_ptr<Queries>> g_queries;
std::unordered_map<uint32_t, CatalogObject> g_catalogObjects;

void KeepTables(const std::vector<bool>& keep) {
  size_t kept = 0;
  for (size_t i = 0; i < g_tables.size(); ++i) {
    if (i < keep.size() && !keep[i]) continue;
    if (kept != i) g_tables[kept] = std::move(g_tables[i]);
    ++kept;
  }
  g_tables.resize(kept);
}

void PageMap::clear() {
  pages_.clear();
  positionByNumber_.clear();
  dataPagesByOwner_.clear();
}

void PageMap::push_back(const PageMetaData& page) {
  // Page numbers come from the scan (0, 1, 2, ... or 1, 2, 3, ...), so the index stays dense.
  if (page.pageNumber >= positionByNumber_.size()) positionByNumber_.resize(page.pageNumber + 1, -1);
  if (positionByNumber_[page.pageNumber] < 0) positionByNumber_[page.pageNumber] = static_cast<int32_t>(pages_.size());
  pages_.push_back(page);
  if (page.pageType == 1) dataPagesByOwner_[page.owner].push_back(page.pageNumber);
}

const PageMetaData* PageMap::findByNumber(uint32_t pageNumber) const {
  if (pageNumber >= positionByNumber_.size()) return nullptr;
  int32_t position = positionByNumber_[pageNumber];
  return position < 0 ? nullptr : &pages_[static_cast<size_t>(position)];
}

const std::vector<uint32_t>& PageMap::dataPagesOwnedBy(int32_t owner) const {
  static const std::vector<uint32_t> kNone;
  auto found = dataPagesByOwner_.find(owner);
  return found == dataPagesByOwner_.end() ? kNone : found->second;
}

}  // namespace analysis
