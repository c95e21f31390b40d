// CStrTok: the splitting rules callers rely on, as tables of cases.
#include "support/str_tok.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using support::CStrTok;

constexpr const char* kSeparator = "@##@#$~##%";

struct TokenCase {
  const char* name;
  std::string text;
  std::string delimiter;
  bool isString;
  bool emptyTokens;
  bool delimitersAsTokens;
  std::vector<std::string> expected;
};

std::vector<std::string> tokensOf(const TokenCase& c) {
  std::vector<char> buffer(c.text.begin(), c.text.end());
  buffer.push_back('\0');
  CStrTok tok;
  tok.m_bDelimiterIsString = c.isString;
  tok.m_bEmptyTokens = c.emptyTokens;
  tok.m_bDelimitersAsTokens = c.delimitersAsTokens;
  std::vector<std::string> out;
  for (char* t = tok.GetFirst(buffer.data(), c.delimiter.c_str()); t; t = tok.GetNext(c.delimiter.c_str())) {
    out.emplace_back(t);
    if (out.size() > 100) break;
  }
  // A complete pass gives every overwritten character back.
  EXPECT_EQ(std::string(buffer.data(), c.text.size()), c.text) << c.name;
  return out;
}

TEST(StrTokTest, SplitsAsSpecified) {
  const std::string sep = kSeparator;
  const std::vector<TokenCase> cases = {
      {"three values", "a" + sep + "b" + sep + "c", sep, true, false, false, {"a", "b", "c"}},
      {"row text ends in separator", "a" + sep + "b" + sep, sep, true, false, false, {"a", "b"}},
      {"adjacent separators fold", "a" + sep + sep + "b", sep, true, false, false, {"a", "b"}},
      {"adjacent separators, empty tokens", "a" + sep + sep + "b", sep, true, true, false, {"a", "", "b"}},
      {"leading separator skipped in string mode", sep + "a" + sep + "b", sep, true, true, false, {"a", "b"}},
      {"empty text", "", sep, true, false, false, {}},
      {"empty text, empty tokens, string", "", sep, true, true, false, {""}},
      {"empty text, empty tokens, chars", "", ",", false, true, false, {""}},
      {"character set", ",,a;b,", ",;", false, false, false, {"a", "b"}},
      {"character set, empty tokens", ",,a;b,", ",;", false, true, false, {"", "", "a", "b", ""}},
      {"leading delimiter, empty tokens, chars", ",a", ",", false, true, false, {"", "a"}},
      {"delimiters as tokens", "a,b", ",", false, false, true, {"a", ",", "b"}},
      {"string delimiters as tokens", "a" + sep + "b", sep, true, false, true, {"a", sep, "b"}},
      {"partial separator is data", "a@##b", sep, true, false, false, {"a@##b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(tokensOf(c), c.expected) << c.name;
}

TEST(StrTokTest, BreakRestoresTheText) {
  std::string text = std::string("one") + kSeparator + "two" + kSeparator + "three";
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  CStrTok tok;
  tok.m_bDelimiterIsString = true;
  ASSERT_STREQ(tok.GetFirst(buffer.data(), kSeparator), "one");
  ASSERT_STREQ(tok.GetNext(kSeparator), "two");
  EXPECT_NE(std::string(buffer.data()), text);
  tok.Break();
  EXPECT_EQ(std::string(buffer.data()), text);
  EXPECT_TRUE(tok.IsEnd());
}

TEST(StrTokTest, TrimCutsWhiteSpaceOfTheCurrentToken) {
  char text[] = "  padded  ,next";
  CStrTok tok;
  char* token = tok.GetFirst(text, ",");
  tok.TrimLeft(token);
  tok.TrimRight();
  EXPECT_STREQ(token, "padded");
  EXPECT_STREQ(tok.GetNext(","), "next");
  EXPECT_EQ(tok.GetNext(","), nullptr);
}

TEST(StrTokTest, IsDelimiterIgnoresTheTerminator) {
  EXPECT_TRUE(CStrTok::IsDelimiter(',', ",;"));
  EXPECT_FALSE(CStrTok::IsDelimiter('\0', ",;"));
  EXPECT_FALSE(CStrTok::IsDelimiter('a', ",;"));
}

}  // namespace
