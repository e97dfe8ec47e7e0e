#include "waypoints/waypoint_text.hpp"

#include <array>
#include <cstring>

#include "airspace/airspace_text.hpp"
#include "records/names.hpp"
#include "records/text_scan.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

// The code points of bytes 0x80..0x9F; 0xFFFD where the code page has none.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t DecodeUtf8(std::string_view character) {
  const auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(character[i])); };
  switch (character.size()) {
    case 1: return byte(0);
    case 2: return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3: return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default: return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
  }
}

char ToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c && c != 0xFFFD) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const size_t length = Utf8CharacterLength(utf8, at);
    const std::string_view character = utf8.substr(at, length);
    at += length;
    const bool stray = length == 1 && static_cast<unsigned char>(character[0]) >= 0x80;
    out += stray ? '?' : ToWindows1252(DecodeUtf8(character));
  }
  return out;
}

std::string FieldText(std::string_view bytes, bool fileIsUtf8) {
  return fileIsUtf8 ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string CutForField(std::string_view utf8, std::size_t maxCharacters, std::size_t fieldBytes) {
  std::string text = CutToCharacters(utf8, maxCharacters);
  size_t end = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t next = at + Utf8CharacterLength(text, at);
    if (next > fieldBytes) break;
    end = at = next;
  }
  text.resize(end);
  return text;
}

void SetDescription(Waypoint& waypoint, std::string_view utf8) {
  std::string text = CutForField(utf8, kWaypointDescriptionLength, sizeof waypoint.description - 1);
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  CopyToField(text, waypoint.description);
}

std::string_view NameOf(const Waypoint& waypoint) {
  return {waypoint.name, strnlen(waypoint.name, sizeof waypoint.name)};
}

std::string_view DescriptionOf(const Waypoint& waypoint) {
  return {waypoint.description, strnlen(waypoint.description, sizeof waypoint.description)};
}

std::string XmlEscaped(std::string_view utf8) {
  std::string out;
  for (const char c : XmlText(utf8)) {
    if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<TextLine> NonEmptyLines(std::string_view text) {
  std::vector<TextLine> lines;
  int number = 1;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line = TrimBlanks(text.substr(at, end - at)).empty()
                                      ? std::string_view{}
                                      : text.substr(at, end - at);
    if (!line.empty()) {
      size_t skip = 0;
      while (skip < line.size() && IsBlank(line[skip])) ++skip;
      lines.push_back({line.substr(skip), number});
    }
    if (end < text.size()) {
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      ++number;
    }
    at = end + 1;
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    fields.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace trelvik
