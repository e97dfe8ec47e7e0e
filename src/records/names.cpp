#include "records/names.hpp"

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

enum class NameMode { Lenient, Strict, StrictRaising };

constexpr bool IsNameCharacter(char c) { return IsUpperLetter(c) || IsDigit(c) || c == '-'; }

// Length in bytes of the UTF-8 character that starts at `pos` (a stray
// continuation byte counts as a character of its own).
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  std::size_t end = pos + 1;
  if (static_cast<unsigned char>(text[pos]) >= 0xC0) {
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return end - pos;
}

int CleanName(std::string_view text, NameMode mode, std::string& name) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos == text.size()) return -1;
  std::string result;
  while (pos < text.size() && !IsBlank(text[pos])) {
    const std::size_t length = CharacterLength(text, pos);
    if (result.size() == kWaypointNameLength) {
      if (mode == NameMode::Lenient) break;
      return -1;
    }
    char c = length == 1 ? text[pos] : '\0';
    if (IsLowerLetter(c) && mode != NameMode::Strict) c = ToUpper(c);
    if (!IsNameCharacter(c)) {
      if (mode != NameMode::Lenient) return -1;
      c = '-';
    }
    result += c;
    pos += length;
  }
  if (mode != NameMode::Lenient) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos != text.size()) return -1;
  }
  name = std::move(result);
  return static_cast<int>(name.size());
}

}  // namespace

std::size_t CollapseBlanks(std::string& text) {
  std::size_t out = 0;
  bool pendingBlank = false;
  for (const char c : text) {
    if (IsBlank(c)) {
      pendingBlank = out > 0;
      continue;
    }
    if (pendingBlank) text[out++] = ' ';
    pendingBlank = false;
    text[out++] = c;
  }
  text.resize(out);
  return out;
}

int CleanWaypointName(std::string_view text, bool lenient, std::string& name) {
  return CleanName(text, lenient ? NameMode::Lenient : NameMode::Strict, name);
}

int StrictWaypointName(std::string_view text, std::string& name) {
  return CleanName(text, NameMode::StrictRaising, name);
}

std::string CleanDescription(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::string result;
  while (pos < text.size() && result.size() < kWaypointDescriptionLength) {
    const std::size_t length = CharacterLength(text, pos);
    const char c = text[pos];
    result += length == 1 && (IsLetter(c) || IsDigit(c) || IsBlank(c)) ? c : '-';
    pos += length;
  }
  while (!result.empty() && IsBlank(result.back())) result.pop_back();
  return result;
}

}  // namespace trelvik
