#include "trackfiles/xml_walker.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trelvik {
namespace {

// Records start and end events as "name@depth" and "/name@depth:text".
class Recorder : public XmlElementHandler {
 public:
  std::string events;
  XmlStep OnStart(const char* name, char*, int depth, const XmlToken&) override {
    events += std::string(name) + "@" + std::to_string(depth) + " ";
    return XmlStep::Continue;
  }
  XmlStep OnEnd(const char* name, char* text, int depth, const XmlToken&) override {
    events += "/" + std::string(name) + "@" + std::to_string(depth) + (text ? ":" + std::string(text) : "") + " ";
    return XmlStep::Continue;
  }
};

std::string Walk(std::string text, XmlFirstTag firstTag = XmlFirstTag::SkipDeclaration) {
  Recorder recorder;
  std::string error;
  XmlWalkOptions options;
  options.firstTag = firstTag;
  const int result = WalkXml(text.data(), options, recorder, error);
  return result == kXmlWalkFailed ? "error: " + error : recorder.events;
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 1; i <= depth; ++i) text += "<e" + std::to_string(i) + ">";
  for (int i = depth; i >= 1; --i) text += "</e" + std::to_string(i) + ">";
  return text;
}

TEST(XmlWalker, EventsWithDepthsAndContent) {
  EXPECT_EQ(Walk("<?xml version=\"1.0\"?><a><b>x y </b><!-- c --><c/></a>"),
            "a@1 b@2 /b@2:x y  c@2 /c@2 /a@1 ");
  EXPECT_EQ(Walk("<a/>"), "a@1 /a@1 ");  // a first tag other than ?xml is processed
}

struct StructureCase {
  const char* name;
  std::string text;
  const char* expected;
};

TEST(XmlWalker, StructuralErrors) {
  const StructureCase cases[] = {
      {"no tags", "just text", "error: No tags found"},
      {"empty", "", "error: No tags found"},
      {"utf-16 bom", "\xFF\xFE<a/>", "error: Unknown BOM before opening tag"},
      {"text first", "x<a/>", "error: Unknown BOM before opening tag"},
      {"utf-8 bom", "\xEF\xBB\xBF<a/>", "a@1 /a@1 "},
      {"first tag open", "<a", "error: End-of-file encountered within a tag"},
      {"later tag open", "<a><b", "error: End-of-file encountered within a tag"},
      {"open comment", "<a><!-- no end", "error: End-of-file encountered within a tag"},
      {"still open", "<a><b></b>", "error: Nesting level not zero at end-of-file"},
      {"data after", "<a></a>tail", "error: Data found after last tag"},
      {"data before", "<a>x<b/></a>", "error: Data found before tag <b>"},
      {"root end", "<a></a></b>", "error: Terminating tag </b> encountered at root level"},
      {"mismatch", "<a><b></a>", "error: Tag <b> is terminated by </a>"},
      {"case matters", "<a></A>", "error: Tag <a> is terminated by </A>"},
      {"nineteen", Nested(19), nullptr},
      {"twenty", Nested(20), "error: Nesting limit exceeded at tag <e20>"},
      {"long name", "<a></abcdefghijklmnopqrstuvwxy>",
       "error: Tag <a> is terminated by </abcdefghijklmnopqrs...>"},
      {"long data name", "<a>x<abcdefghijklmnopqrstuvwxy/></a>", "error: Data found before tag <abcdefghijklmnopqrst...>"},
      {"declaration elsewhere", "<a><?xml version='1.0'?></a>", "error: Tag <?xml> is terminated by </a>"},
  };
  for (const StructureCase& c : cases) {
    const std::string result = Walk(c.text);
    if (c.expected == nullptr) {
      EXPECT_EQ(result.find("error"), std::string::npos) << c.name << ": " << result;
    } else {
      EXPECT_EQ(result, c.expected) << c.name;
    }
  }
  EXPECT_EQ(XmlNameForMessage("abcdefghijklmnopqrstuvwxy"), "abcdefghijklmnopqrst...");
  EXPECT_EQ(XmlNameForMessage("abcdefghijklmnopqrst"), "abcdefghijklmnopqrst");
}

TEST(XmlWalker, DeclarationRequiredForGpx) {
  EXPECT_EQ(Walk("<gpx/>", XmlFirstTag::RequireDeclaration), "error: Missing opening tag '<?xml>'");
  EXPECT_EQ(Walk("\xFE\xFF<?xml?><gpx/>", XmlFirstTag::RequireDeclaration),
            "error: Unknown BOM before opening tag '<?xml>'");
  EXPECT_EQ(Walk("\xEF\xBB\xBF<?xml version='1.0'?><gpx/>", XmlFirstTag::RequireDeclaration), "gpx@1 /gpx@1 ");
}

TEST(XmlWalker, HugeInputsEndQuickly) {
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<element>";
  deep.append(50u << 20, ' ');
  EXPECT_EQ(Walk(deep), "error: Nesting limit exceeded at tag <element>");
  std::string comment = "<a><!--";
  comment.append(50u << 20, '-');
  comment += "- >";
  EXPECT_EQ(Walk(comment), "error: End-of-file encountered within a tag");
}

}  // namespace
}  // namespace trelvik
