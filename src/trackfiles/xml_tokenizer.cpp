#include "trackfiles/xml_tokenizer.hpp"

#include <cstring>

namespace trelvik {
namespace {

int Unclosed(char*& cursor, XmlToken& token) {
  cursor += std::strlen(cursor);
  token.name = nullptr;
  token.attributes = nullptr;
  return kXmlUnclosed;
}

// A comment or CDATA section: the whole of it is the name, up to (not
// including) the ">" of its closing marker.
int Section(char*& cursor, XmlToken& token, char* name, const char* searchFrom, const char* closing) {
  char* close = std::strstr(const_cast<char*>(searchFrom), closing);
  if (close == nullptr) return Unclosed(cursor, token);
  char* gt = close + std::strlen(closing) - 1;
  *gt = '\0';
  token.name = name;
  token.end = gt + 1;
  cursor = gt + 1;
  return kXmlTag;
}

}  // namespace

int NextXmlToken(char*& cursor, XmlToken& token) {
  token = XmlToken{};
  char* p = cursor;
  while (IsXmlSpace(*p)) ++p;
  char* lt = std::strchr(p, '<');
  if (lt == nullptr) {
    if (*p != '\0') token.text = p;
    cursor = p + std::strlen(p);
    return kXmlEndOfText;
  }
  if (lt != p) token.text = p;
  *lt = '\0';
  token.begin = lt;
  char* name = lt + 1;
  if (name[0] == '!') {
    if (std::strncmp(name, "!--", 3) == 0) return Section(cursor, token, name, name + 1, "-->");
    if (std::strncmp(name, "![CDATA[", 8) == 0) return Section(cursor, token, name, name + 8, "]]>");
  }

  char* gt = std::strchr(name, '>');
  if (gt == nullptr) return Unclosed(cursor, token);
  *gt = '\0';
  token.end = gt + 1;
  cursor = gt + 1;
  int result = kXmlTag;
  if (gt > name && gt[-1] == '/') {
    gt[-1] = '\0';
    result = kXmlEmptyTag;
  }
  token.name = name;
  for (char* q = name; *q != '\0'; ++q) {
    if (IsXmlSpace(*q)) {
      *q = '\0';
      token.attributes = q + 1;
      break;
    }
  }
  return result;
}

}  // namespace trelvik
