#pragma once
// Counting and checking UTF-8 text by characters. Settings texts and command
// line values are limited in characters, and a limit must never cut a
// character in half.
#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik {

// Bytes of the character that starts at `at`: 1..4 for a well-formed
// sequence, 1 for a byte that does not start one (it then counts as one
// character of its own). 0 at the end of the text.
size_t Utf8CharacterLength(std::string_view text, size_t at);

bool IsValidUtf8(std::string_view text);

// The first `maxCharacters` characters of `text`.
std::string CutToCharacters(std::string_view text, size_t maxCharacters);

}  // namespace trelvik
