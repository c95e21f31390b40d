// Index keys in the General sort order, checked against keys the engine wrote.
#include "jet4/index_keys.h"

#include <gtest/gtest.h>

#include "format/text_codec.h"
#include "tests/support/hex.h"

namespace {

TEST(IndexKeysTest, TextKeysMatchTheEngines) {
  const struct {
    const char* text;
    const char* key;
  } cases[] = {
      {"Databases", "4f 4a 6d 4a 4c 4a 6b 51 6b 01 00"},
      {"MSysObjects", "60 6b 76 6b 64 4c 5b 51 4d 6d 6b 01 00"},
      {"msysobjects", "60 6b 76 6b 64 4c 5b 51 4d 6d 6b 01 00"},  // case is folded
      {"ümlaut", "6f 60 5e 4a 6f 6d 01 13 00"},                   // accents in a section of their own
      {"ääkkösiä", "4a 4a 5c 5c 64 6b 59 4a 01 13 13 02 02 13 02 02 13 00"},
      {"only ascii chars", "64 62 5e 76 07 4a 6b 4d 59 59 07 4d 57 4a 69 6b 01 00"},
      // Controls, the apostrophe and the hyphen are placed after the other characters.
      {"3L9\x1d"
       "52\x02_AB(\xc2\xa5\x05!!V",
       "3c 5e 48 40 3a 2b 03 4a 4c 14 34 a9 09 09 71 01 01 01 01 80 13 06 1a 80 1b 06 04 80 2f 06 07 00"},
      {"a-b", "4a 4c 01 01 01 01 80 0b 06 82 00"},
      {"", "01 00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(testsupport::HexOf(jet4::TextSortKey(format::Utf8ToUtf16(c.text)), true), c.key) << c.text;
}

TEST(IndexKeysTest, TextKeysSortAsNames) {
  const char* ordered[] = {"", "A", "a b", "ab", "Abc", "B", "MSysACEs", "MSysDb", "MSysObjects", "Z", "Zz"};
  for (size_t i = 1; i < std::size(ordered); ++i)
    EXPECT_LT(jet4::TextSortKey(format::Utf8ToUtf16(ordered[i - 1])),
              jet4::TextSortKey(format::Utf8ToUtf16(ordered[i])))
        << ordered[i - 1] << " < " << ordered[i];
}

TEST(IndexKeysTest, IntegerKeysAreBigEndianWithTheTopBitFlipped) {
  std::string key;
  jet4::AppendLongKey(key, 2);
  EXPECT_EQ(testsupport::HexOf(key, true), "7f 80 00 00 02");
  key.clear();
  jet4::AppendLongKey(key, 0x0F000001);
  EXPECT_EQ(testsupport::HexOf(key, true), "7f 8f 00 00 01");
  key.clear();
  jet4::AppendLongKey(key, -1);
  EXPECT_EQ(testsupport::HexOf(key, true), "7f 7f ff ff ff");
  key.clear();
  jet4::AppendIntKey(key, -2);
  jet4::AppendByteKey(key, 7);
  jet4::AppendNullKey(key);
  EXPECT_EQ(testsupport::HexOf(key, true), "7f 7f fe 7f 07 00");
}

}  // namespace
