#include "waypoints/waypoint_text.hpp"

#include <cstring>

#include "airspace/airspace_text.hpp"
#include "records/names.hpp"
#include "records/text_scan.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {

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
