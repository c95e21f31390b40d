// UTF-16LE decoding, UTF-8 cutting and bracketed names.
#include "support/text.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TextTest, DecodesUtf16IncludingSurrogatesAndDamage) {
  struct Case {
    std::vector<uint8_t> bytes;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{0x41, 0x00, 0x42, 0x00}, "AB"},
      {{0xE9, 0x00}, "\xC3\xA9"},                          // é
      {{0x71, 0x67, 0xAC, 0x4E}, "\xE6\x9D\xB1\xE4\xBA\xAC"},  // 東京
      {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},      // U+1F600 as a surrogate pair
      {{0x3D, 0xD8, 0x41, 0x00}, "\xEF\xBF\xBD" "A"},      // unpaired high surrogate
      {{0x41, 0x00, 0x42}, "A"},                            // odd trailing byte dropped
  };
  for (const auto& c : cases) EXPECT_EQ(support::Utf16LeToUtf8(support::ByteView(c.bytes)), c.expected);
}

TEST(TextTest, TruncatesOnCharacterBoundary) {
  EXPECT_EQ(support::TruncateUtf8("abc", 5), "abc");
  EXPECT_EQ(support::TruncateUtf8("a\xC3\xA9" "b", 2), "a");
  EXPECT_EQ(support::TruncateUtf8("a\xC3\xA9" "b", 3), "a\xC3\xA9");
}

TEST(TextTest, BracketedNamesDoubleEveryClosingBracket) {
  const std::pair<std::string, std::string> cases[] = {
      {"Orders", "[Orders]"},
      {"a]b", "[a]]b]"},
      {"]", "[]]]"},
      {"[x]", "[[x]]]"},
      {"\xD0\x98\xD0\xBC\xD1\x8F", "[\xD0\x98\xD0\xBC\xD1\x8F]"},
      {"", "[]"},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(support::BracketedName(name), quoted) << name;
}

}  // namespace
