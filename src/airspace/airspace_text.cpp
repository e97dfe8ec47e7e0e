#include "airspace/airspace_text.hpp"

#include "settings/utf8_text.hpp"

namespace trelvik {

std::string FieldToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string utf8;
  utf8.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

std::string XmlText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const size_t length = Utf8CharacterLength(utf8, at);
    const std::string_view character = utf8.substr(at, length);
    at += length;
    const auto lead = static_cast<unsigned char>(character[0]);
    if (length == 1 && lead >= 0x80) continue;  // not UTF-8 at all: no character to write
    if (lead < 0x20 && lead != '\t') continue;
    if (character == "\xEF\xBF\xBE" || character == "\xEF\xBF\xBF") continue;
    if (character == "<") {
      out += "&lt;";
    } else if (character == "&") {
      out += "&amp;";
    } else if (character == ">") {
      out += "&gt;";  // "]]>" may not stand in character data
    } else {
      out += character;
    }
  }
  return out;
}

std::string JsStringText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace trelvik
