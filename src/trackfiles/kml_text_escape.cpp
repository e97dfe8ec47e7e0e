#include "trackfiles/kml_text_escape.hpp"

#include <cstdint>

#include "trackfiles/xml_attributes.hpp"

namespace trelvik {
namespace {

constexpr size_t kInstrumentLimit = 79;

// The code point of the well-formed UTF-8 sequence at `at` and its length, or
// length 0 when the bytes there are not one (overlong forms, surrogates and
// values above U+10FFFF included).
struct Utf8Char {
  uint32_t value = 0;
  size_t length = 0;
};

Utf8Char DecodeAt(std::string_view text, size_t at) {
  const auto lead = static_cast<uint8_t>(text[at]);
  if (lead < 0x80) return {lead, 1};
  size_t length;
  uint32_t value;
  uint32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07u, minimum = 0x10000;
  } else {
    return {};
  }
  if (at + length > text.size()) return {};
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<uint8_t>(text[at + k]);
    if ((next & 0xC0u) != 0x80u) return {};
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, length};
}

// Characters XML 1.0 cannot carry at all, not even as references.
bool IsXmlCharacter(uint32_t c) {
  if (c < 0x20) return c == '\t' || c == '\r' || c == '\n';
  return c != 0xFFFE && c != 0xFFFF;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::optional<std::string> KmlTitleText(std::string_view title) {
  std::string out;
  out.reserve(title.size() + 16);
  for (size_t at = 0; at < title.size();) {
    const Utf8Char c = DecodeAt(title, at);
    if (c.length == 0) return std::nullopt;
    if (!IsXmlCharacter(c.value)) {
      out += ' ';
    } else if (c.value == '<') {
      out += "&lt;";
    } else if (c.value == '>') {
      out += "&gt;";
    } else {
      out.append(title.substr(at, c.length));
    }
    at += c.length;
  }
  return out;
}

std::string KmlInstrumentText(std::string_view instrument) {
  std::string_view cut = instrument.substr(0, kInstrumentLimit);
  if (cut.size() < instrument.size()) {
    // Step back to the start of a UTF-8 character the cut would split.
    size_t start = cut.size();
    while (start > 0 && start > cut.size() - 3 && (static_cast<uint8_t>(instrument[start]) & 0xC0u) == 0x80u) --start;
    if (start < cut.size() && DecodeAt(instrument, start).length > cut.size() - start) cut = cut.substr(0, start);
  }
  std::string clean;
  for (size_t at = 0; at < cut.size();) {
    const Utf8Char c = DecodeAt(cut, at);
    if (c.length == 0) {
      AppendUtf8(clean, static_cast<uint8_t>(cut[at]));  // a byte of an 8-bit code page: Latin-1
      ++at;
    } else {
      if (IsXmlCharacter(c.value)) {
        clean.append(cut.substr(at, c.length));
      } else {
        clean += ' ';
      }
      at += c.length;
    }
  }
  NormalizeSpace(clean);

  std::string out;
  for (size_t at = 0; at < clean.size();) {
    const size_t length = DecodeAt(clean, at).length;
    std::string_view piece = std::string_view(clean).substr(at, length);
    if (piece == "\"") piece = "&quot;";
    if (piece == "&") piece = "&amp;";
    if (piece == "<") piece = "&lt;";
    if (piece == ">") piece = "&gt;";
    if (out.size() + piece.size() > kInstrumentLimit) break;
    out.append(piece);
    at += length;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace trelvik
