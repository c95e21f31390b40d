// Our rows of a table against the peer reader's rows (expected/*.json): each peer row paired
// with a row of ours that agrees, and the counts and disagreements of a file and of a whole run.
#pragma once

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testsupport {

struct PeerTally {
  size_t rows = 0, cells = 0;
  std::vector<std::string> failures;  // at most kMaxFailures per file from row pairing

  static constexpr size_t kMaxFailures = 50;

  // Prints "[ label ] file  N rows, M cells, K disagreements", fails the test once for each
  // disagreement, and adds the counts to total.
  void report(const char* label, const std::string& file, PeerTally& total) const;
  // Prints the run's line: "[ label ] all files  N rows, M cells".
  void reportTotal(const char* label) const;
};

// Pairs each of the peer's rows (peerRows) with the first unused row of ours in [firstRow,
// endRow) for which agrees(peerRow, ourRow) holds, trying the row at the same place first
// (firstRow + the peer row's index): moved rows come back where they sit, not in slot order.
// Every peer row counts as a row and columns cells; for a row without a partner, while the
// tally holds fewer than kMaxFailures failures, unmatched(peerIndex, ourRowAtTheSamePlace)
// says what differs.
void MatchPeerRows(const nlohmann::json& peerRows, size_t columns, size_t firstRow, size_t endRow,
                   const std::function<bool(const nlohmann::json&, size_t)>& agrees,
                   const std::function<std::string(size_t, size_t)>& unmatched, PeerTally& tally);

}  // namespace testsupport
