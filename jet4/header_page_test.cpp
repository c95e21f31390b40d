// Page 0 of a new database: the fixed fields and the region masked with the header key.
#include "jet4/header_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/byte_view.h"

namespace {

TEST(HeaderPageTest, KeystreamIsTheHeaderKeys) {
  const auto mask = jet4::HeaderMask();
  EXPECT_EQ(mask[0], 0xB5);
  EXPECT_EQ(mask[1], 0x6F);
  EXPECT_EQ(mask[2], 0x03);
  EXPECT_EQ(mask[3], 0x62);
}

TEST(HeaderPageTest, HoldsTheEngineFieldsUnderTheMask) {
  jet4::HeaderSettings settings;
  settings.creationDate = 42850.48191293982;
  auto page = jet4::BuildHeaderPage(settings);
  const support::ByteView raw(page.data(), page.size());
  EXPECT_EQ(raw.u32(0), 0x100u);
  EXPECT_STREQ(reinterpret_cast<const char*>(page.data() + 4), "Standard Jet DB");
  EXPECT_EQ(raw.u32(0x14), 1u);
  EXPECT_EQ(raw.u32(0x98), 0x654u);
  EXPECT_EQ(raw.u16(0xE00), 0x0101);
  EXPECT_EQ(raw.u16(0xFFE), 0x0100);

  const auto mask = jet4::HeaderMask();
  for (size_t i = 0; i < mask.size(); ++i) page[0x18 + i] ^= mask[i];
  const support::ByteView plain(page.data(), page.size());
  EXPECT_EQ(plain.u32(0x18), 0x100u);
  EXPECT_EQ(plain.u32(0x1C), 0x101u);
  EXPECT_EQ(plain.u16(0x3C), 1252);
  EXPECT_EQ(plain.u32(0x3E), 0u);    // not encrypted
  EXPECT_EQ(plain.u16(0x6E), 1033);  // General
  EXPECT_DOUBLE_EQ(plain.f64(0x72), 42850.48191293982);
  // No password: 20 empty characters XORed with the whole days of the creation date.
  for (int i = 0; i < 40; i += 4) EXPECT_EQ(plain.u32(0x42 + i), 42850u) << i;
}

}  // namespace
