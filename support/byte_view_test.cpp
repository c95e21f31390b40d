// ByteView: reads that do not fit give 0 and never leave the buffer.
#include "support/byte_view.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ByteViewTest, LittleEndianReadsAndOutOfRangeZero) {
  const std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0xFF};
  support::ByteView view(bytes);
  EXPECT_EQ(view.u8(0), 0x01);
  EXPECT_EQ(view.u16(0), 0x0201);
  EXPECT_EQ(view.u24(1), 0x040302u);
  EXPECT_EQ(view.u32(0), 0x04030201u);
  EXPECT_EQ(view.i8(4), -1);
  struct Case {
    int64_t offset;
    int width;
  };
  for (Case c : {Case{4, 2}, Case{3, 4}, Case{5, 1}, Case{-1, 1}, Case{std::numeric_limits<int64_t>::max(), 4},
                 Case{std::numeric_limits<int64_t>::min(), 2}}) {
    uint64_t value = c.width == 1 ? view.u8(c.offset) : c.width == 2 ? view.u16(c.offset) : view.u32(c.offset);
    EXPECT_EQ(value, 0u) << c.offset;
  }
}

TEST(ByteViewTest, SliceIsOverflowSafe) {
  const std::vector<uint8_t> bytes(16, 7);
  support::ByteView view(bytes);
  EXPECT_EQ(view.slice(4, 12).size(), 12u);
  EXPECT_TRUE(view.slice(4, 13).empty());
  EXPECT_TRUE(view.slice(8, std::numeric_limits<int64_t>::max()).empty());
  EXPECT_TRUE(view.slice(-4, 4).empty());
  EXPECT_EQ(view.from(16).size(), 0u);
  EXPECT_TRUE(view.from(17).empty());
}

}  // namespace
