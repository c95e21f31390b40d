// Pairing our rows with the peer's, and the tallies of the comparison.
#include "tests/support/peer_rows.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace testsupport {

void PeerTally::report(const char* label, const std::string& file, PeerTally& total) const {
  std::printf("[ %s ] %-36s %5zu rows, %6zu cells, %zu disagreements\n", label, file.c_str(), rows, cells,
              failures.size());
  for (const auto& failure : failures) ADD_FAILURE() << failure;
  total.rows += rows;
  total.cells += cells;
}

void PeerTally::reportTotal(const char* label) const {
  std::printf("[ %s ] %-36s %5zu rows, %6zu cells\n", label, "all files", rows, cells);
}

void MatchPeerRows(const nlohmann::json& peerRows, size_t columns, size_t firstRow, size_t endRow,
                   const std::function<bool(const nlohmann::json&, size_t)>& agrees,
                   const std::function<std::string(size_t, size_t)>& unmatched, PeerTally& tally) {
  std::vector<bool> used(endRow, false);
  size_t index = 0;
  for (const auto& theirs : peerRows) {
    const size_t samePlace = firstRow + index;
    bool matched = samePlace < endRow && !used[samePlace] && agrees(theirs, samePlace);
    if (matched) used[samePlace] = true;
    for (size_t r = firstRow; r < endRow && !matched; ++r)
      if (!used[r] && agrees(theirs, r)) used[r] = matched = true;
    ++tally.rows;
    tally.cells += columns;
    if (!matched && tally.failures.size() < PeerTally::kMaxFailures)
      tally.failures.push_back(unmatched(index, samePlace));
    ++index;
  }
}

}  // namespace testsupport
