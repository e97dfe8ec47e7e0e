#include "trackfiles/windows1252.hpp"

#include "settings/utf8_text.hpp"

#include <array>
#include <cstdint>

namespace trelvik {
namespace {

// Code points of the bytes 0x80..0x9F; 0 where the code page has none.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point at `i` and the bytes it takes; 0 bytes when not valid UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t first = byte(i);
  if (first < 0x80) {
    code = first;
    return 1;
  }
  std::size_t length = 0;
  char32_t min = 0;
  if ((first & 0xE0) == 0xC0) {
    length = 2, code = first & 0x1F, min = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3, code = first & 0x0F, min = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4, code = first & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

char ToWindows1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (std::size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] == code) return static_cast<char>(0x80 + k);
  }
  return '?';
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t code = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = DecodeUtf8(utf8, i, code);
    if (length == 0) {
      out += utf8[i++];
      continue;
    }
    out += ToWindows1252(code);
    i += length;
  }
  return out;
}

std::string FileTextToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Windows1252ToUtf8(bytes);
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    char32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kHighControls[byte - 0x80] != 0 ? kHighControls[byte - 0x80] : 0xFFFD;
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace trelvik
