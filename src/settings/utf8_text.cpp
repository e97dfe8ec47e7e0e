#include "settings/utf8_text.hpp"

namespace trelvik {

size_t Utf8CharacterLength(std::string_view text, size_t at) {
  if (at >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  unsigned minimum = 0;
  unsigned value = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 1;
  }
  if (at + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 1;
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 1;
  return length;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8CharacterLength(text, at);
    if (length == 1 && static_cast<unsigned char>(text[at]) >= 0x80) return false;
    at += length;
  }
  return true;
}

std::string CutToCharacters(std::string_view text, size_t maxCharacters) {
  size_t at = 0;
  for (size_t count = 0; count < maxCharacters && at < text.size(); ++count) at += Utf8CharacterLength(text, at);
  return std::string(text.substr(0, at));
}

}  // namespace trelvik
