// SafeFileName: names from a hostile file never leave their folder.
#include "support/file_name.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  std::string name;
  std::string expected;
};

TEST(SafeFileName, CleansEveryCharacterThatCouldLeaveTheFolder) {
  const NameCase cases[] = {
      {"Orders", "Orders"},
      {"", "_"},
      {".", "_."},
      {"..", "_.."},
      {"...", "..."},
      {"../../etc/passwd", ".._.._etc_passwd"},
      {"/abs", "_abs"},
      {std::string("a\0b", 3), "a_b"},
      {"line\nbreak\ttab\r", "line_break_tab_"},
      {"del\x7f", "del_"},
      {"back\\slash:colon", "back\\slash:colon"},
      {"Caf\xc3\xa9 Stra\xc3\x9f"
       "e",
       "Caf\xc3\xa9 Stra\xc3\x9f"
       "e"},
      {" leading and trailing ", " leading and trailing "},
  };
  for (const auto& c : cases) EXPECT_EQ(support::SafeFileName(c.name), c.expected) << c.name;
}

TEST(SafeFileName, CutsLongNamesOnACharacterBoundary) {
  std::string name;
  for (int i = 0; i < 200; ++i) name += "\xc3\xa9";  // 400 bytes of two-byte characters
  const std::string safe = support::SafeFileName(name);
  EXPECT_LE(safe.size(), support::kMaxSafeFileNameBytes);
  EXPECT_EQ(safe.size() % 2, 0u);
  EXPECT_EQ(safe, name.substr(0, safe.size()));
}

TEST(UniqueFileNames, NamesThatCleanAlikeGetNumbers) {
  support::UniqueFileNames names;
  const std::pair<std::string, std::string> cases[] = {
      {"a/b", "a_b"},      {"a_b", "a_b (2)"}, {"a\nb", "a_b (3)"}, {"a_b (2)", "a_b (2) (2)"},
      {"Orders", "Orders"}, {"orders", "orders"}, {"", "_"},           {"", "_ (2)"},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(names.take(name), expected) << name;
}

}  // namespace
