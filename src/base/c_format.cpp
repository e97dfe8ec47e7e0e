#include "base/c_format.hpp"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace trelvik {
namespace {

// The "C" locale object lives for the whole process; uselocale() switches only
// the calling thread, so job threads and the window thread never disturb each other.
locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

class ThreadLocaleGuard {
 public:
  ThreadLocaleGuard() : previous_(uselocale(CLocale())) {}
  ~ThreadLocaleGuard() { uselocale(previous_); }
  ThreadLocaleGuard(const ThreadLocaleGuard&) = delete;
  ThreadLocaleGuard& operator=(const ThreadLocaleGuard&) = delete;

 private:
  locale_t previous_;
};

}  // namespace

std::string CFormatV(const char* format, va_list args) {
  ThreadLocaleGuard guard;
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return {};
  if (static_cast<size_t>(needed) < sizeof small) return std::string(small, static_cast<size_t>(needed));
  std::vector<char> big(static_cast<size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(needed));
}

void AppendFixed(std::string& out, double value, int decimals) {
  // Both round the exact binary value correctly, so they print the same digits.
  char text[352];  // the longest double in fixed notation with up to 17 decimals
  const std::to_chars_result end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (end.ec != std::errc()) {
    out += CFormat("%.*f", decimals, value);
    return;
  }
  out.append(text, end.ptr);
}

void AppendInteger(std::string& out, long long value) {
  char text[24];
  out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string CFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = CFormatV(format, args);
  va_end(args);
  return text;
}

std::optional<double> ParseDoubleC(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && text[begin] == ' ') ++begin;
  size_t end = text.size();
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin == end) return std::nullopt;
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  if (*first == '+') ++first;  // from_chars refuses a leading plus
  double value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return value;
}

}  // namespace trelvik
