#include "base/c_format.hpp"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
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

namespace {

constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Numbers of moderate size, which is nearly every number we write: the exact
// binary value times 10^decimals in 128-bit integers, rounded half to even as
// printf rounds it. False for what it does not cover.
bool AppendModerateFixed(std::string& out, double value, int decimals) {
  if (decimals < 0 || decimals > 9 || !(std::fabs(value) < 1e9)) return false;
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(value), &exponent);
  // |value| = mantissa / 2^shift exactly; below 1e9 the shift is at least 23.
  const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowersOfTen[decimals];  // < 2^83
  uint64_t rounded = 0;
  if (shift < 100) {  // beyond, the scaled value is below one half
    rounded = static_cast<uint64_t>(scaled >> shift);
    const unsigned __int128 rest = scaled - (static_cast<unsigned __int128>(rounded) << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
  }
  if (std::signbit(value)) out += '-';
  AppendInteger(out, static_cast<long long>(rounded / kPowersOfTen[decimals]));
  if (decimals == 0) return true;
  out += '.';
  char digits[9];
  uint64_t rest = rounded % kPowersOfTen[decimals];
  for (int i = decimals - 1; i >= 0; --i, rest /= 10) digits[i] = static_cast<char>('0' + rest % 10);
  out.append(digits, static_cast<size_t>(decimals));
  return true;
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
  if (AppendModerateFixed(out, value, decimals)) return;
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

std::optional<double> DecimalValue(std::string_view integerDigits, std::string_view fractionDigits) {
  if (integerDigits.empty() && fractionDigits.empty()) return std::nullopt;
  // Up to 15 significant digits and 22 decimals both the digits and the power
  // of ten are exact doubles, so one division rounds correctly.
  constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  size_t leadingZeros = 0;
  while (leadingZeros < integerDigits.size() && integerDigits[leadingZeros] == '0') ++leadingZeros;
  if (integerDigits.size() - leadingZeros + fractionDigits.size() <= 15 && fractionDigits.size() <= 22) {
    uint64_t digits = 0;
    for (const char c : integerDigits.substr(leadingZeros)) digits = digits * 10 + static_cast<uint64_t>(c - '0');
    for (const char c : fractionDigits) digits = digits * 10 + static_cast<uint64_t>(c - '0');
    return static_cast<double>(digits) / kExactPowersOfTen[fractionDigits.size()];
  }
  std::string number(integerDigits.empty() ? "0" : integerDigits);
  if (!fractionDigits.empty()) number.append(".").append(fractionDigits);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || ptr != number.data() + number.size()) return std::nullopt;
  return value;
}

}  // namespace trelvik
