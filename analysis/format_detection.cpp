// Telling 4096-byte-page files from 2048-byte-page ones and from damaged ones, and finding
// where a run of valid pages begins in a damaged file.
#include <array>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "platform/message_sink.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
// Expected words at offsets 0 and 2 of pages 0 to 5; kUnchecked means the second is not checked.
//
//  page | 4096-byte layout  | 2048-byte layout
//  -----+-------------------+------------------
//   0   | 0x0100, 0x0000    | 0x0100, 0x0000
//   1   | 0x0101, -         | 0x0101, -
//   2   | 0x0102, 0x0BDE    | 0x0102, 0x4356
//   3   | 0x0102, 0x0EA9    | 0x0102, 0x4356
//   4   | 0x0102, 0x0DEB    | 0x0102, 0x4356
//   5   | 0x0102, 0x0CCB    | 0x0102, 0x4356
constexpr uint16_t kUnchecked = 0x0FFF;
struct Signature {
  uint16_t first;
  uint16_t second;
};
constexpr std::array<Signature, 6> kSignatures4096 = {
    {{0x0100, 0x0000}, {0x0101, kUnchecked}, {0x0102, 0x0BDE}, {0x0102, 0x0EA9}, {0x0102, 0x0DEB}, {0x0102, 0x0CCB}}};
constexpr std::array<Signature, 6> kSignatures2048 = {
    {{0x0100, 0x0000}, {0x0101, kUnchecked}, {0x0102, 0x4356}, {0x0102, 0x4356}, {0x0102, 0x4356}, {0x0102, 0x4356}}};

bool pageMatches(support::ByteView page, const Signature& expected) {
  if (page.u16(0) != expected.first) return false;
  return expected.second == kUnchecked || page.u16(2) == expected.second;
}

// Only a page 1 at or below this offset is accepted (six pages of 4096 bytes); the signature
// search need not look further.
constexpr uint64_t kMaxFirstPageOffset = 24576;
}  // namespace

bool MdbRecovery::layoutMatches(int pageSize) {
  const auto& table = pageSize == 2048 ? kSignatures2048 : kSignatures4096;
  std::vector<uint8_t> buffer(static_cast<size_t>(pageSize));
  int mismatches = 0;
  for (size_t page = 0; page < table.size(); ++page) {
    std::fill(buffer.begin(), buffer.end(), 0);
    file.readAt(static_cast<int64_t>(page * static_cast<size_t>(pageSize)), buffer.data(), buffer.size());
    if (!pageMatches(support::ByteView(buffer), table[page])) ++mismatches;
  }
  return mismatches == 0;
}

int MdbRecovery::DetectFormat() {
  if (!file.isOpen()) return -1;
  if (layoutMatches(2048)) {
    channel->abort = 1;
    channel->recoveryTblEvent.set();
    platform::ShowMessageBox("File format not Supported.");
    return 0;
  }
  if (layoutMatches(kPageSize)) {
    layout = Jet4Layout();
    return kStorageFormat4;
  }
  return -1;
}

void MdbRecovery::FindPageSignatures() {
  g_candidateOffsets.clear();
  if (!file.isOpen()) return;
  std::vector<uint8_t> chunk(kPageSize);
  for (uint64_t chunkStart = 0; chunkStart <= kMaxFirstPageOffset; chunkStart += kPageSize) {
    std::fill(chunk.begin(), chunk.end(), 0);
    int64_t read = file.readAt(static_cast<int64_t>(chunkStart), chunk.data(), chunk.size());
    if (read <= 0) break;
    for (size_t p = 0; p + 1 < chunk.size(); ++p) {
      if (chunkStart + p > kMaxFirstPageOffset) break;
      if ((chunk[p] == 0x02 || chunk[p] == 0x01) && chunk[p + 1] == 0x01)
        g_candidateOffsets.push_back(chunkStart + p);
    }
  }
}

// A run whose pages 1 to 5 all carry their signatures is taken first. Failing that, the start
// that most of those pages agree on (at least kMinMatchingPages of them): one or two destroyed
// pages among the first six must not cost the whole file. A candidate can then be the start of
// any of pages 1 to 5, its own page 1 being the one lost.
int64_t MdbRecovery::FindFirstValidPageOffset() {
  constexpr int kRunPages = 5;
  constexpr int kMinMatchingPages = 3;
  // Every page a run can hold lies in this window; read it once.
  std::vector<uint8_t> window(kMaxFirstPageOffset + kRunPages * kPageSize, 0);
  if (file.readAt(0, window.data(), window.size()) < 0) return -1;
  const support::ByteView bytes(window);
  auto matchingPages = [&](uint64_t start) {
    int matching = 0;
    for (int k = 1; k <= kRunPages; ++k)
      if (pageMatches(bytes.slice(static_cast<int64_t>(start) + (k - 1) * kPageSize, 4), kSignatures4096[k]))
        ++matching;
    return matching;
  };
  for (uint64_t candidate : g_candidateOffsets)
    if (matchingPages(candidate) == kRunPages) return static_cast<int64_t>(candidate);
  int64_t best = -1;
  int bestMatching = kMinMatchingPages - 1;
  for (uint64_t candidate : g_candidateOffsets) {
    for (uint64_t k = 0; k < kRunPages && k * kPageSize <= candidate; ++k) {
      const uint64_t start = candidate - k * kPageSize;
      const int matching = matchingPages(start);
      if (matching > bestMatching || (matching == bestMatching && static_cast<int64_t>(start) < best)) {
        best = static_cast<int64_t>(start);
        bestMatching = matching;
      }
    }
  }
  return best;
}

}  // namespace analysis
