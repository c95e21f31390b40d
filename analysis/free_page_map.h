// The file's map of free pages: row 0 of page 1. Pages it lists as free held a table that was
// dropped; their rows are left-overs, not an orphan table.
//
// Map row, inline form:      0  u8   0
//                            1  u32  first page the bitmap covers
//                            5  ...  bitmap; bit j of byte i: page start + 8i + j is free
// Map row, reference form:   0  u8   1
//                            1  u32  each: a bitmap page (0 = none); map page k covers pages from
//                                    k * 32736, its bitmap starting at the page's byte 4
#pragma once

#include <cstdint>
#include <unordered_set>

#include "analysis/mdb_recovery.h"

namespace analysis {

// The pages the map lists as free; empty when page 1 or its map cannot be read.
std::unordered_set<uint32_t> ReadFreePages(MdbRecovery& recovery);

}  // namespace analysis
