// Damaged copies of a real file, one kind of damage each, as users bring them: a lost header
// page, a cut-off file, a lost catalog, lost pages, flipped bits, bytes in front of the file,
// an overwritten table definition, a file cut off before a table definition (its rows kept),
// a destroyed long-value page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct DamagedCopy {
  std::string kind;     // the kind of damage, e.g. "bit flips"
  std::string variant;  // how much or where, e.g. "1 in 10^4 bits"
  std::vector<uint8_t> bytes;
  // Pages 0 to keptPages - 1 still hold their rows where the intact file has them; a cut-off
  // file keeps only its whole pages.
  size_t keptPages = static_cast<size_t>(-1);
};

// Every kind of damage applied to copies of intact, several variants of some kinds. The same
// seed gives the same copies. Kinds that need a page the file lacks (a long-value page) are
// left out.
std::vector<DamagedCopy> MakeDamagedCopies(const std::vector<uint8_t>& intact, uint32_t seed);

}  // namespace testsupport
