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

int64_t MdbRecovery::FindFirstValidPageOffset() {
  std::vector<uint8_t> page(kPageSize);
  for (uint64_t candidate : g_candidateOffsets) {
    bool valid = true;
    uint64_t position = candidate;
    for (size_t k = 1; k <= 5 && valid; ++k, position += kPageSize) {
      ReadPageAt(page.data(), position);
      valid = pageMatches(support::ByteView(page), kSignatures4096[k]);
    }
    if (valid) return static_cast<int64_t>(candidate);
  }
  return -1;
}

}  // namespace analysis
