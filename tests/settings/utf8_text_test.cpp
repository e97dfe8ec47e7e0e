#include "settings/utf8_text.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(Utf8Text, CharacterLengths) {
  struct Case {
    std::string_view text;
    size_t length;
  };
  const Case cases[] = {
      {"a", 1},
      {"\xC3\xA9", 2},
      {"\xE2\x82\xAC", 3},
      {"\xF0\x9F\x98\x80", 4},
      {"\xC3", 1},              // cut short
      {"\xC0\xAF", 1},          // overlong "/"
      {"\xED\xA0\x80", 1},      // surrogate
      {"\xF4\x90\x80\x80", 1},  // past U+10FFFF
      {"\x80", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8CharacterLength(c.text, 0), c.length) << testing::PrintToString(c.text);
  EXPECT_EQ(Utf8CharacterLength("a", 1), 0u);
}

TEST(Utf8Text, CutNeverSplitsACharacter) {
  EXPECT_EQ(CutToCharacters("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
  EXPECT_EQ(CutToCharacters("abc", 5), "abc");
  EXPECT_TRUE(IsValidUtf8("Z\xC3\xBCrich"));
  EXPECT_FALSE(IsValidUtf8("Z\xFCrich"));
}

}  // namespace
}  // namespace trelvik
