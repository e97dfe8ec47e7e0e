#pragma once
// Prints a table case's input text (escaped) so that test names and failure
// lines show which row ran instead of a byte dump.
#include <cstdio>
#include <ostream>
#include <string_view>

namespace trelvik::testing {

inline void PrintQuoted(std::string_view text, std::ostream* os) {
  *os << '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      *os << c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      *os << escaped;
    }
  }
  *os << '"';
}

}  // namespace trelvik::testing
