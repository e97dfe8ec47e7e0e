// Feeds arbitrary bytes to the tokenizer, the structural walk, the attribute
// helpers and the date parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_text.hpp"
#include "trackfiles/xml_tokenizer.hpp"
#include "trackfiles/xml_walker.hpp"

namespace {

using namespace trelvik;

// Reads every attribute helper on every start tag and every text content.
class Prober : public XmlElementHandler {
 public:
  XmlStep OnStart(const char*, char* attributes, int, const XmlToken&) override {
    std::string text;
    int integer = 0;
    double real = 0;
    (void)GetXmlAttrText(attributes, "type", text, 30);
    (void)GetXmlAttrInt(attributes, "id", integer);
    (void)GetXmlAttrReal(attributes, "lat", real);
    NormalizeSpace(attributes);
    (void)GetXmlAttrText(attributes, "time_of_first_point", text, 79);
    return XmlStep::Continue;
  }
  XmlStep OnEnd(const char*, char* text, int, const XmlToken&) override {
    TrackTime time = 0;
    bool hasZone = false;
    (void)ParseXmlDateTime(text, time, hasZone);
    NormalizeSpace(text);
    char16_t wide[64];
    if (text != nullptr) (void)Utf8ToWide(text, wide, 64);
    return XmlStep::Continue;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  std::string tokens = input;
  char* cursor = tokens.data();
  XmlToken token;
  while (NextXmlToken(cursor, token) >= 0) {
    std::string value;
    (void)GetXmlAttrText(token.attributes, "hash", value, 79);
  }

  for (XmlFirstTag firstTag : {XmlFirstTag::SkipDeclaration, XmlFirstTag::RequireDeclaration}) {
    std::string walked = input;
    Prober prober;
    std::string error;
    XmlWalkOptions options;
    options.firstTag = firstTag;
    options.skipProcessingInstructions = firstTag == XmlFirstTag::SkipDeclaration;
    (void)WalkXml(walked.data(), options, prober, error);
  }
  return 0;
}
