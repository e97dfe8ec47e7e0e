#pragma once
#include <cstddef>
#include <string_view>

namespace trelvik::testing {

// How often `part` (not empty) occurs in `text`, overlapping occurrences included.
inline size_t CountOccurrences(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace trelvik::testing
