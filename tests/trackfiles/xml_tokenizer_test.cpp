#include "trackfiles/xml_tokenizer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_text.hpp"

namespace trelvik {
namespace {

struct Seen {
  int result;
  std::string name;
  std::string attributes;  // "-" when none
  std::string text;        // "-" when none
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << s.result << " [" << s.name << "] [" << s.attributes << "] [" << s.text << "]";
}

std::vector<Seen> Tokens(std::string text) {
  std::vector<Seen> seen;
  char* cursor = text.data();
  for (int guard = 0; guard < 100; ++guard) {
    XmlToken token;
    const int result = NextXmlToken(cursor, token);
    seen.push_back({result, token.name ? token.name : "-", token.attributes ? token.attributes : "-",
                    token.text ? token.text : "-"});
    if (result < 0) break;
  }
  return seen;
}

TEST(XmlTokenizer, TagsTextAndEmptyElements) {
  EXPECT_EQ(Tokens("<?xml version=\"1.0\"?>\r\n<a x='1'>\r\n  hello world \r\n</a><b/><c  y=\"2\" />tail "),
            (std::vector<Seen>{{kXmlTag, "?xml", "version=\"1.0\"?", "-"},
                               {kXmlTag, "a", "x='1'", "-"},
                               {kXmlTag, "/a", "-", "hello world \r\n"},
                               {kXmlEmptyTag, "b", "-", "-"},
                               {kXmlEmptyTag, "c", " y=\"2\" ", "-"},
                               {kXmlEndOfText, "-", "-", "tail "}}));
}

TEST(XmlTokenizer, CommentsAndCdataAreWholeTokens) {
  EXPECT_EQ(Tokens("<!-- a <b> -- c --><![CDATA[<x>]]>]]><!DOCTYPE kml>"),
            (std::vector<Seen>{{kXmlTag, "!-- a <b> -- c --", "-", "-"},
                               {kXmlTag, "![CDATA[<x>]]", "-", "-"},
                               {kXmlTag, "!DOCTYPE", "kml", "]]>"},
                               {kXmlEndOfText, "-", "-", "-"}}));
  // A comment ends at the first ">" after two dashes, even right after its opening.
  EXPECT_EQ(Tokens("<!-->"), (std::vector<Seen>{{kXmlTag, "!--", "-", "-"}, {kXmlEndOfText, "-", "-", "-"}}));
}

TEST(XmlTokenizer, UnclosedConstructsEndTheText) {
  for (const char* text : {"<a", "<!-- never closed", "<![CDATA[ open", "x <a b='1'"}) {
    const std::vector<Seen> seen = Tokens(text);
    EXPECT_EQ(seen.back().result, kXmlUnclosed) << text;
  }
  std::string text = "<!-- open";
  char* cursor = text.data();
  XmlToken token;
  ASSERT_EQ(NextXmlToken(cursor, token), kXmlUnclosed);
  EXPECT_EQ(NextXmlToken(cursor, token), kXmlEndOfText);  // the cursor stays at the end
}

TEST(XmlTokenizer, TokenPositionsCoverTheTag) {
  std::string text = "  <a>x</a>";
  char* cursor = text.data();
  XmlToken token;
  ASSERT_EQ(NextXmlToken(cursor, token), kXmlTag);
  EXPECT_EQ(token.begin - text.data(), 2);
  EXPECT_EQ(token.end - text.data(), 5);
  ASSERT_EQ(NextXmlToken(cursor, token), kXmlTag);
  EXPECT_EQ(token.end - text.data(), 10);
}

TEST(XmlAttributes, TextIntAndReal) {
  const char* attributes = "a=\"12\" b='-7' c=\"x y\" d=\"\" e=\"1.5\" f=\"2,25\" g=\"1.\" h=\"+3\" i=\"7x\" j=\".5\"";
  std::string text;
  EXPECT_EQ(GetXmlAttrText(attributes, "c", text, 79), 0);
  EXPECT_EQ(text, "x y");
  EXPECT_EQ(GetXmlAttrText(attributes, "c", text, 1), 0);
  EXPECT_EQ(text, "x");
  EXPECT_EQ(GetXmlAttrText(attributes, "zz", text, 79), -1);
  EXPECT_EQ(GetXmlAttrText(nullptr, "a", text, 79), -1);

  struct IntCase {
    const char* name;
    int result;
    int value;
  } ints[] = {{"a", 0, 12}, {"b", 0, -7}, {"h", 0, 3}, {"d", -1, 99}, {"zz", -1, 99}, {"i", -2, 99}, {"e", -2, 99}};
  for (const IntCase& c : ints) {
    int value = 99;
    EXPECT_EQ(GetXmlAttrInt(attributes, c.name, value), c.result) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
  struct RealCase {
    const char* name;
    int result;
    double value;
  } reals[] = {{"e", 0, 1.5}, {"f", 0, 2.25}, {"g", 0, 1.0}, {"b", 0, -7.0},
               {"j", -2, 99}, {"i", -2, 99},  {"d", -1, 99},  {"zz", -1, 99}};
  for (const RealCase& c : reals) {
    double value = 99;
    EXPECT_EQ(GetXmlAttrReal(attributes, c.name, value), c.result) << c.name;
    EXPECT_DOUBLE_EQ(value, c.value) << c.name;
  }
}

TEST(XmlAttributes, TextInsideAValueIsNeverAnAttribute) {
  std::string value;
  ASSERT_EQ(GetXmlAttrText("instrument=\"x hash='1'\" hash='2'", "hash", value, 79), 0);
  EXPECT_EQ(value, "2");
  // "=" must follow the name directly.
  EXPECT_EQ(GetXmlAttrText("lat = \"1\"", "lat", value, 79), -1);
  EXPECT_EQ(GetXmlAttrText("xlat=\"1\" lat=\"2\"", "lat", value, 79), 0);
  EXPECT_EQ(value, "2");
}

TEST(XmlAttributes, NormalizeSpace) {
  // Texts that are normal up to some point, then need moving from there on.
  const std::pair<std::string, std::string> cases[] = {
      {" \t a \r\n\r\n b  c\n", "a b c"},
      {" \r\n ", ""},
      {"", ""},
      {"a b c", "a b c"},
      {"a b  c", "a b c"},
      {"a b\tc", "a b c"},
      {"a b ", "a b"},
      {"a b\n", "a b"},
      {" a", "a"},
      {"lat=\"1\"  lon=\"2\" ", "lat=\"1\" lon=\"2\""},
  };
  for (const auto& [input, normal] : cases) {
    std::string text = input;
    EXPECT_EQ(NormalizeSpace(text.data()), normal.size()) << input;
    EXPECT_STREQ(text.c_str(), normal.c_str()) << input;
  }
  EXPECT_EQ(NormalizeSpace(static_cast<char*>(nullptr)), 0u);
}

TEST(XmlDateTime, ZonesFractionsAndFailures) {
  SystemTime noon{2012, 7, 0, 1, 12, 0, 0, 0};
  const TrackTime twelve = TrackTimeFromDate(noon);
  struct Case {
    const char* text;
    int result;
    TrackTime time;
    bool hasZone;
  } cases[] = {
      {"2012-07-01T12:00:00", 0, twelve, false},
      {"2012-07-01T12:00:00Z", 0, twelve, true},
      {"2012-07-01T12:00:00+02:00", 0, twelve - 7200, true},
      {"2012-07-01T12:00:00-0130", 0, twelve + 5400, true},
      {"2012-07-01T12:00:00+01:00:30", 0, twelve - 3630, true},
      {"2012-07-01T12:00:00+02", 0, twelve - 7200, true},
      {"2012-07-01T12:00:00.6Z", 0, twelve + 1, true},
      {"2012-07-01T12:00:00.4999", 0, twelve, false},
      {"2012-7-1T12:0:0", 0, twelve, false},
      {"2012-07-01T12:00:00Z ", -1, 0, false},
      {"2012-07-01 12:00:00", -1, 0, false},
      {"2012-07-01T12:00", -1, 0, false},
      {"2012-07-01T12:00:00+2", -1, 0, false},
      {"2012-07-01T12:00:00.", -1, 0, false},
      {"2012-13-01T12:00:00", -1, 0, false},
      {"99999-01-01T12:00:00", -1, 0, false},
      {"", -1, 0, false},
  };
  for (const Case& c : cases) {
    TrackTime time = 0;
    bool hasZone = false;
    EXPECT_EQ(ParseXmlDateTime(c.text, time, hasZone), c.result) << c.text;
    EXPECT_EQ(time, c.time) << c.text;
    EXPECT_EQ(hasZone, c.hasZone) << c.text;
  }
}

TEST(XmlUtf8, WideConversionsBothWays) {
  char16_t wide[16];
  EXPECT_EQ(Utf8ToWide("a\xC3\xA4\xE2\x82\xAC", wide, 16), 3u);
  EXPECT_EQ(std::u16string(wide), u"a\u00E4\u20AC");
  EXPECT_EQ(Utf8ToWide("\x80" "b", wide, 16), 1u);  // a stray continuation byte is skipped
  EXPECT_EQ(Utf8ToWide("a\xF0\x9F\x98\x80z", wide, 16), 1u);  // above 0xFFFF ends it
  EXPECT_EQ(Utf8ToWide("a\xC3z", wide, 16), 1u);  // bad continuation ends it
  EXPECT_EQ(Utf8ToWide("a\xC3", wide, 16), 1u);   // cut short
  EXPECT_EQ(Utf8ToWide("abcdef", wide, 4), 3u);   // full output, terminator kept
  EXPECT_EQ(wide[3], u'\0');

  char bytes[8];
  EXPECT_EQ(WideToUtf8(u"a\u00E4\u20AC", bytes, 8), 6u);
  EXPECT_STREQ(bytes, "a\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(WideToUtf8(u"a\u20AC", bytes, 4), 1u);  // the euro sign and its terminator do not fit
  EXPECT_STREQ(bytes, "a");
}

}  // namespace
}  // namespace trelvik
