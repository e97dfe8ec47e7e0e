#include "trackfiles/xml_references.hpp"

#include <array>
#include <cstdint>

namespace trelvik {
namespace {

struct Entity {
  std::string_view name;
  char character;
};

constexpr std::array<Entity, 5> kEntities = {
    {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of "#123" or "#x7B"; 0 when the text is none.
uint32_t CharacterReference(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return 0;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return 0;
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return 0;
    }
    value = value * (hex ? 16 : 10) + digit;
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return value > 0x10FFFF || surrogate ? 0 : value;
}

}  // namespace

std::string DecodeXmlReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const size_t end = text[at] == '&' ? text.find(';', at) : std::string_view::npos;
    if (end == std::string_view::npos || end - at > 12) {
      out += text[at++];
      continue;
    }
    const std::string_view body = text.substr(at + 1, end - at - 1);
    bool replaced = false;
    for (const Entity& entity : kEntities) {
      if (body == entity.name) {
        out += entity.character;
        replaced = true;
      }
    }
    if (const uint32_t code = replaced ? 0 : CharacterReference(body); code != 0) {
      AppendUtf8(out, code);
      replaced = true;
    }
    if (replaced) {
      at = end + 1;
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace trelvik
