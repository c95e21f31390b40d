// Orphan tables: data pages whose owner names no readable table definition (the page is
// missing, cut off, not a definition, or does not decode) are grouped by owner into tables
// whose layout comes from their rows.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/byte_view.h"

namespace analysis {

// Owners, in rising order, of data pages that belong to a table (not the catalog, a usage map or
// long values), that name none of definitionPages and that freePages does not list.
std::vector<int32_t> FindOrphanOwners(const PageMap& pages, const std::unordered_set<uint32_t>& definitionPages,
                                      const std::unordered_set<uint32_t>& freePages);

// The rows of one data page that are not deleted (nor pointers to moved rows), each from its
// column count to its null mask; entries that point outside their page add to unreadable.
std::vector<support::ByteView> LiveRowsOfPage(support::ByteView page, int64_t& unreadable);

// Gives table (tdefPage = the owner) the layout of its rows: the layout of a definition among
// siblings that fits them as well (a copy, a continuation), else the inferred one. Sets its
// data pages (those freePages does not list), row count and unreadable rows. False when no row
// fits any layout.
bool GiveOrphanLayout(MdbRecovery& recovery, Table& table, const std::vector<Table>& siblings,
                      const std::unordered_set<uint32_t>& freePages);

}  // namespace analysis
