#pragma once
// Waypoint names and descriptions as instruments accept them, and the blank
// clean-up every edit field goes through. Text is UTF-8: a multi-byte
// character counts as one character (and is never a letter or digit here).
#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik {

inline constexpr std::size_t kWaypointNameLength = 6;
inline constexpr std::size_t kWaypointDescriptionLength = 40;

// Removes leading and trailing blanks and reduces inner runs of blanks to one;
// returns the new length.
std::size_t CollapseBlanks(std::string& text);

// Skips leading blanks and takes at most 6 characters up to the next blank.
// A-Z, 0-9 and "-" are copied. Lenient: lower case is raised, anything else
// becomes "-", text after the sixth character or after a blank is ignored.
// Strict: such a character, a seventh character or more text after a blank
// fails. All-blank text fails. Returns the name's length, or -1 (name untouched).
[[nodiscard]] int CleanWaypointName(std::string_view text, bool lenient, std::string& name);

// The strict rules, except that lower-case letters are raised instead of failing.
[[nodiscard]] int StrictWaypointName(std::string_view text, std::string& name);

// Skips leading blanks, keeps at most 40 characters, replaces everything but
// ASCII letters, digits and blanks by "-", and cuts trailing blanks.
std::string CleanDescription(std::string_view text);

// Copies a cleaned name or description into a fixed, zero-terminated record
// field, cutting it to the field's size.
template <std::size_t N>
void CopyToField(std::string_view text, char (&field)[N]) {
  const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : '\0';
}

}  // namespace trelvik
