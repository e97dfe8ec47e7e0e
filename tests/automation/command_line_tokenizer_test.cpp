#include "automation/command_line_tokenizer.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace trelvik {
namespace {

using Kind = CommandLineToken::Kind;

struct Expected {
  Kind kind;
  std::string key;
  std::string value;
  int32_t position;
};

std::vector<Expected> Tokens(std::string_view line) {
  CommandLineTokenizer tokenizer(line);
  std::vector<Expected> tokens;
  for (;;) {
    const CommandLineToken token = tokenizer.Next();
    tokens.push_back({token.kind, token.key, token.value, token.position});
    if (token.kind != Kind::Option) break;
  }
  return tokens;
}

bool operator==(const Expected& a, const Expected& b) {
  return a.kind == b.kind && a.key == b.key && a.value == b.value && a.position == b.position;
}

void PrintTo(const Expected& e, std::ostream* out) {
  *out << static_cast<int>(e.kind) << " [" << e.key << "] [" << e.value << "] @" << e.position;
}

TEST(CommandLineTokenizer, OptionsValuesAndPositions) {
  struct Case {
    std::string_view line;
    std::vector<Expected> tokens;
  };
  const Case cases[] = {
      {"/A=1 /B", {{Kind::Option, "A", "1", 1}, {Kind::Option, "B", "", 6}, {Kind::End, "", "", 8}}},
      {"  /exit", {{Kind::Option, "EXIT", "", 3}, {Kind::End, "", "", 8}}},
      {"/K=\"a b\" /L", {{Kind::Option, "K", "a b", 1}, {Kind::Option, "L", "", 10}, {Kind::End, "", "", 12}}},
      {"/K=\"unclosed to the end", {{Kind::Option, "K", "unclosed to the end", 1}, {Kind::End, "", "", 24}}},
      {"/K=a\"b", {{Kind::Option, "K", "a\"b", 1}, {Kind::End, "", "", 7}}},
      {"/K=\"\"", {{Kind::Option, "K", "", 1}, {Kind::End, "", "", 6}}},
      {"/K=x=y", {{Kind::Option, "K", "x=y", 1}, {Kind::End, "", "", 7}}},
      {"/A=1/B=2", {{Kind::Option, "A", "1/B=2", 1}, {Kind::End, "", "", 9}}},
      {"/gps=flymaster", {{Kind::Option, "GPS", "flymaster", 1}, {Kind::End, "", "", 15}}},
      {"/\xC3\xBC"
       "ber",
       {{Kind::Option,
         "\xC3\xBC"
         "BER",
         "", 1},
        {Kind::End, "", "", 6}}},
      {"/A x", {{Kind::Option, "A", "", 1}, {Kind::Stray, "", "", 4}}},
      {"x", {{Kind::Stray, "", "", 1}}},
      {"/K=\"a\"b", {{Kind::Option, "K", "a", 1}, {Kind::Stray, "", "", 7}}},
      {"/V=\xC3\xA9\xC3\xA9 x", {{Kind::Option, "V", "\xC3\xA9\xC3\xA9", 1}, {Kind::Stray, "", "", 7}}},
      {"", {{Kind::End, "", "", 1}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.line), c.tokens) << c.line;
}

TEST(CommandLineTokenizer, KeysAndValuesAreCutInCharacters) {
  const std::string key(20, 'k');
  const std::string value(300, 'v');
  std::string wide;
  for (int i = 0; i < 300; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(Tokens("/" + key + "=" + value)[0],
            (Expected{Kind::Option, std::string(16, 'K'), std::string(260, 'v'), 1}));
  EXPECT_EQ(Tokens("/K=\"" + value + "\"")[0].value, std::string(260, 'v'));
  EXPECT_EQ(Tokens("/K=" + wide)[0].value, wide.substr(0, 520));  // 260 two-byte characters
}

TEST(CommandLineTokenizer, NothingFollowsTheEndOrAStrayCharacter) {
  CommandLineTokenizer tokenizer("/A x /B");
  EXPECT_EQ(tokenizer.Next().kind, Kind::Option);
  EXPECT_EQ(tokenizer.Next().kind, Kind::Stray);
  EXPECT_EQ(tokenizer.Next().kind, Kind::End);
  EXPECT_EQ(tokenizer.Next().kind, Kind::End);
}

}  // namespace
}  // namespace trelvik
