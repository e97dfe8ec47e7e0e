#include "records/format_progress.hpp"

#include <charconv>

namespace trelvik {

std::string FormatProgress(std::string_view format, int64_t a, int64_t b, int64_t c, int64_t d) {
  const int64_t arguments[4] = {a, b, c, d};
  std::string text;
  text.reserve(format.size() + 16);
  int next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
      continue;
    }
    const int64_t value = arguments[next < 3 ? next : 3];
    ++next;
    // Magnitude as unsigned so that the most negative value has one too.
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
    text.append(digits, result.ptr);
    // The character after "%" is never itself a placeholder, not even another "%".
    if (i + 1 < format.size()) text += format[++i];
  }
  return text;
}

}  // namespace trelvik
