// Decoding of stored text into UTF-8.
#include "records/jet_text.h"

#include <vector>

#include "support/text.h"

namespace records {

namespace {
constexpr uint8_t kCompressedMarker0 = 0xFF;
constexpr uint8_t kCompressedMarker1 = 0xFE;
constexpr uint8_t kModeSwitch = 0x00;

// Expands the compressed form into plain UTF-16LE code units. The switch byte is looked for
// at the start of each character, in both modes; a lone byte left in two-byte mode is dropped.
std::vector<uint8_t> expandCompressed(support::ByteView bytes) {
  std::vector<uint8_t> units;
  units.reserve(bytes.size() * 2);
  bool oneByteMode = true;
  size_t i = 2;
  while (i < bytes.size()) {
    const uint8_t byte = bytes.u8(static_cast<int64_t>(i));
    if (byte == kModeSwitch) {
      oneByteMode = !oneByteMode;
      ++i;
    } else if (oneByteMode) {
      units.push_back(byte);
      units.push_back(0);
      ++i;
    } else if (i + 1 < bytes.size()) {
      units.push_back(byte);
      units.push_back(bytes.u8(static_cast<int64_t>(i + 1)));
      i += 2;
    } else {
      break;
    }
  }
  return units;
}
}  // namespace

std::string DecodeJetText(support::ByteView bytes) {
  if (bytes.size() >= 2 && bytes.u8(0) == kCompressedMarker0 && bytes.u8(1) == kCompressedMarker1) {
    const std::vector<uint8_t> units = expandCompressed(bytes);
    return support::Utf16LeToUtf8(support::ByteView(units));
  }
  return support::Utf16LeToUtf8(bytes);
}

}  // namespace records
