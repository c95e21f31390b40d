// Building page 0 and its masked region.
#include "jet4/header_page.h"

#include <cmath>
#include <cstring>

namespace jet4 {

namespace {
constexpr int kMaskedStart = 0x18;
constexpr int kMaskedSize = 128;
constexpr std::array<uint8_t, 4> kHeaderKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr char kEngineName[] = "Standard Jet DB";
constexpr uint32_t kVersionJet4 = 1;
constexpr std::array<uint8_t, 8> kTrailer = {0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00};
constexpr int kWordTable = 0xE00;
constexpr int kPasswordOffset = 0x42;
constexpr int kPasswordSize = 40;
constexpr std::array<uint32_t, 6> kLeadingWords = {0x100, 0x101, 2, 3, 4, 5};
}  // namespace

std::array<uint8_t, 128> HeaderMask() {
  std::array<uint8_t, 256> state;
  for (int i = 0; i < 256; ++i) state[i] = static_cast<uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + state[i] + kHeaderKey[i % kHeaderKey.size()]) & 0xFF;
    std::swap(state[i], state[j]);
  }
  std::array<uint8_t, 128> stream;
  for (int n = 0, i = 0, j = 0; n < kMaskedSize; ++n) {
    i = (i + 1) & 0xFF;
    j = (j + state[i]) & 0xFF;
    std::swap(state[i], state[j]);
    stream[n] = state[(state[i] + state[j]) & 0xFF];
  }
  return stream;
}

std::array<uint8_t, kPageSize> BuildHeaderPage(const HeaderSettings& settings) {
  std::array<uint8_t, kPageSize> page{};
  page[1] = 0x01;
  std::memcpy(&page[4], kEngineName, sizeof kEngineName);
  Put32(&page[0x14], kVersionJet4);

  // The masked region, in plain form first.
  for (size_t k = 0; k < kLeadingWords.size(); ++k) Put32(&page[0x18 + 4 * k], kLeadingWords[k]);
  Put16(&page[0x3C], settings.codePage);
  Put32(&page[0x3E], 0);  // not encrypted
  // No password: zero characters, so the stored bytes are the date mask itself.
  const auto mask = static_cast<uint32_t>(static_cast<int32_t>(std::trunc(settings.creationDate)));
  for (int i = 0; i < kPasswordSize; ++i)
    page[static_cast<size_t>(kPasswordOffset + i)] = static_cast<uint8_t>(mask >> (8 * (i % 4)));
  Put16(&page[0x6E], settings.sortOrder);
  Put16(&page[0x70], 0);
  uint64_t dateBits;
  std::memcpy(&dateBits, &settings.creationDate, sizeof dateBits);
  for (int i = 0; i < 8; ++i) page[static_cast<size_t>(0x72 + i)] = static_cast<uint8_t>(dateBits >> (8 * i));

  const auto stream = HeaderMask();
  for (int i = 0; i < kMaskedSize; ++i) page[static_cast<size_t>(kMaskedStart + i)] ^= stream[static_cast<size_t>(i)];

  std::memcpy(&page[0x98], kTrailer.data(), kTrailer.size());
  for (int w = 0; w < 256; ++w) Put16(&page[static_cast<size_t>(kWordTable + 2 * w)], w == 0 ? 0x0101 : 0x0100);
  return page;
}

}  // namespace jet4
