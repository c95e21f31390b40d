// A table's data pages: the pages that name the table as their owner, split by its owned-pages
// map into live pages (listed) and freed pages (no longer listed). When the map cannot be read
// the owner scan alone decides, and the damage is logged and flagged on the table.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/model.h"
#include "analysis/usage_map_reader.h"
#include "support/byte_view.h"

namespace analysis {

class MdbRecovery;

// Splits ownedPages (owner-scan order) by the map: dataPages in map order, freedPages in
// owner-scan order. A faulty map, or one listing none of the owned pages of a table whose
// definition counts rows, leaves every owned page live and sets usageMapDamaged.
void SplitTablePages(const std::vector<uint32_t>& ownedPages, const UsageMap& map, Table& table);

// Moved rows (entry flags 0x8000 alone) on the pages that deleted pointers lead to and no live
// pointer does: when a moved row is deleted, its pointer entry is what gets the deleted flags.
// Each as page << 8 | row, sorted.
std::vector<uint32_t> FindAbandonedMovedRows(MdbRecovery& recovery, const std::vector<uint32_t>& pages);

// Reads the owned-pages map the definition points at and splits the table's pages by it.
void AssignTablePages(MdbRecovery& recovery, support::ByteView definition, Table& table);

}  // namespace analysis
