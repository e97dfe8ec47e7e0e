#include "waypoints/xml_root_element.hpp"

#include <cstring>

#include "trackfiles/xml_tokenizer.hpp"

namespace trelvik {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

std::string XmlRootElement(std::string_view bytes) {
  std::string copy(bytes);  // the tokenizer writes into its text
  char* cursor = copy.data();
  XmlToken token;
  if (NextXmlToken(cursor, token) != kXmlTag || std::strcmp(token.name, "?xml") != 0) return {};
  if (token.text != nullptr && *token.text != '\0' && std::string_view(token.text) != kUtf8Mark) return {};
  for (;;) {
    const int kind = NextXmlToken(cursor, token);
    if (kind != kXmlTag && kind != kXmlEmptyTag) return {};
    if (token.name[0] != '!' && token.name[0] != '?') return token.name[0] == '/' ? std::string() : token.name;
  }
}

}  // namespace trelvik
