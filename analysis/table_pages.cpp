// Live and freed data pages of a table, from the owner scan and the table's owned-pages map.
#include "analysis/table_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_set>

#include "analysis/mdb_recovery.h"
#include "format/row_entries.h"
#include "support/execution_log.h"

namespace analysis {

namespace {
constexpr uint16_t kPointerFlag = format::kRowDeletedFlag;  // alone: the row moved; the slot points at it
constexpr uint16_t kMovedRowFlag = format::kRowLookupFlag;  // alone: a moved row's data
constexpr uint16_t kFlagsMask = kPointerFlag | kMovedRowFlag;
constexpr uint16_t kDeletedFlags = kFlagsMask;  // a deleted row (or a deleted pointer)

bool anyHoldsMovedRow(const std::vector<uint32_t>& pages) {
  for (uint32_t number : pages) {
    const PageMetaData* meta = g_pageMap.findByNumber(number);
    if (meta != nullptr && meta->holdsMovedRow) return true;
  }
  return false;
}

}  // namespace

std::vector<uint32_t> FindAbandonedMovedRows(MdbRecovery& recovery, const std::vector<uint32_t>& pages) {
  const std::unordered_set<uint32_t> tablePages(pages.begin(), pages.end());
  std::unordered_set<uint32_t> liveTargets, deadTargets, movedRows;
  std::vector<uint8_t> bytes(kPageSize);
  for (uint32_t number : pages) {
    bytes.assign(kPageSize, 0);
    if (recovery.ReadPageByNumber(bytes.data(), number) <= 0) continue;
    const support::ByteView page(bytes);
    const int rows = format::RowsOnPage(page);
    for (int r = 0; r < rows; ++r) {
      format::RowEntry entry;
      if (!format::ReadRowEntry(page, r, entry)) break;
      const uint16_t flags = entry.raw & kFlagsMask;
      if (flags == kMovedRowFlag) movedRows.insert(number << 8 | static_cast<uint32_t>(r));
      if (flags != kPointerFlag && flags != kDeletedFlags) continue;
      if (entry.end - entry.start + 1 < 4) continue;
      const uint32_t targetPage = page.u24(entry.start + 1);
      if (tablePages.count(targetPage) == 0) continue;
      const uint32_t target = targetPage << 8 | page.u8(entry.start);
      (flags == kPointerFlag ? liveTargets : deadTargets).insert(target);
    }
  }
  std::vector<uint32_t> abandoned;
  for (uint32_t target : deadTargets)
    if (liveTargets.count(target) == 0 && movedRows.count(target) != 0) abandoned.push_back(target);
  std::sort(abandoned.begin(), abandoned.end());
  return abandoned;
}

void SplitTablePages(const std::vector<uint32_t>& ownedPages, const UsageMap& map, Table& table) {
  table.dataPages.clear();
  table.freedPages.clear();
  const std::unordered_set<uint32_t> owned(ownedPages.begin(), ownedPages.end());
  // Pages the map lists but that name another owner are not the table's: they stay out.
  if (map.fault == UsageMapFault::kNone)
    for (uint32_t page : map.pages)
      if (owned.count(page) != 0) table.dataPages.push_back(static_cast<int32_t>(page));
  // A readable map that lists none of the pages naming the table while the definition counts
  // rows is taken for a damaged one: trusting it would hide every row.
  const bool listsNone = table.dataPages.empty() && !ownedPages.empty() && table.rowCount > 0;
  table.usageMapDamaged = map.fault != UsageMapFault::kNone || listsNone;
  if (table.usageMapDamaged) {
    table.dataPages.assign(ownedPages.begin(), ownedPages.end());
    return;
  }
  const std::unordered_set<uint32_t> listed(map.pages.begin(), map.pages.end());
  for (uint32_t page : ownedPages)
    if (listed.count(page) == 0) table.freedPages.push_back(static_cast<int32_t>(page));
}

void AssignTablePages(MdbRecovery& recovery, support::ByteView definition, Table& table) {
  const std::vector<uint32_t>& owned = g_pageMap.dataPagesOwnedBy(static_cast<int32_t>(table.tdefPage));
  const uint8_t mapRow = definition.u8(recovery.layout.usedPagesRowOffset);
  const uint32_t mapPage = definition.u24(recovery.layout.usedPagesPageOffset);
  const auto pageCount = static_cast<uint32_t>(std::min<int64_t>(recovery.FileSize() / kPageSize, UINT32_MAX));
  const UsageMap map = ReadUsageMap(mapPage, mapRow, pageCount, [&](uint32_t number, std::vector<uint8_t>& page) {
    page.assign(kPageSize, 0);
    return recovery.ReadPageByNumber(page.data(), number) > 0;
  });
  SplitTablePages(owned, map, table);
  table.abandonedMovedRows.clear();
  if (anyHoldsMovedRow(owned)) table.abandonedMovedRows = FindAbandonedMovedRows(recovery, owned);
  if (!table.usageMapDamaged) return;
  char message[200];
  std::snprintf(message, sizeof message,
                "Used-pages map of table definition page %u (page %u row %u): %s; its %zu data pages are taken from "
                "the page owners",
                table.tdefPage, mapPage, unsigned{mapRow},
                map.fault == UsageMapFault::kNone ? "it lists none of the table's pages" : UsageMapFaultText(map.fault),
                owned.size());
  support::LogError(message);
}

}  // namespace analysis
