// The stored text forms: what the writer encodes the reader decodes to the same text, in both
// forms, and the reader also follows the one-byte / two-byte switch the writer never emits.
#include "format/text_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

support::ByteView viewOf(const std::string& bytes) {
  return support::ByteView(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(TextCodecTest, EncodedTextDecodesToTheSameText) {
  struct Case {
    const char* text;
    bool compressed;  // the form the writer chooses when compression is allowed
  };
  const Case cases[] = {
      {"", false},
      {"ab", false},  // too short to compress
      {"NULL", true},
      {"quote \" apostrophe ' backslash \\ line\r\nbreak", true},
      {"caf\xC3\xA9 \xC3\xBF", true},      // Latin-1 characters still fit one byte
      {"\xD0\x96uk \xE2\x82\xAC", false},  // Cyrillic and the euro sign do not
      {"\xF0\x9F\x98\x80 outside the basic plane", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string stored = format::EncodeText(format::Utf8ToUtf16(c.text), true);
    EXPECT_EQ(stored.size() >= 2 && stored.compare(0, 2, "\xFF\xFE") == 0, c.compressed);
    EXPECT_EQ(format::DecodeJetText(viewOf(stored)), c.text);
    EXPECT_EQ(format::DecodeJetText(viewOf(format::EncodeText(format::Utf8ToUtf16(c.text), false))), c.text);
  }
}

TEST(TextCodecTest, CompressedTextSwitchesToTwoByteRuns) {
  // "ab", switch, U+0416 as two bytes, switch, "c".
  const std::string stored(
      "\xFF\xFE"
      "ab"
      "\x00"
      "\x16\x04"
      "\x00"
      "c",
      9);
  EXPECT_EQ(format::DecodeJetText(viewOf(stored)),
            "ab\xD0\x96"
            "c");
}

}  // namespace
