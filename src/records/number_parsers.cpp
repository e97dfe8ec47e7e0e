#include "records/number_parsers.hpp"

#include <cmath>

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

constexpr int64_t kInt32Limit = 2147483647;
constexpr int64_t kHexLimit = 0xFFFFFFFF;

// Reads an optional sign followed by optional blanks; returns -1 or +1.
int ReadSign(TextScanner& scan) {
  if (scan.Accept('-')) {
    scan.SkipBlanks();
    return -1;
  }
  if (scan.Accept('+')) scan.SkipBlanks();
  return 1;
}

// Integer part and optional fraction of a real number; false on no digit at all.
bool ReadUnsignedReal(TextScanner& scan, double& value) {
  double whole = 0;
  int digits = 0;
  while (IsDigit(scan.Peek())) {
    whole = whole * 10 + (scan.Peek() - '0');
    scan.Advance();
    ++digits;
  }
  int fractionDigits = 0;
  double fraction = 0;
  if (scan.AcceptDecimalPoint()) fraction = scan.ReadFraction(&fractionDigits);
  if (digits + fractionDigits == 0) return false;
  value = whole + fraction;
  return true;
}

}  // namespace

int ParseSignedInt(std::string_view text, int32_t& value) {
  TextScanner scan(text);
  if (scan.OnlyBlanksLeft()) {
    value = 0;
    return 0;
  }
  const int sign = ReadSign(scan);
  int64_t magnitude = 0;
  int digits = 0;
  if (!scan.ReadDigits(kInt32Limit, magnitude, digits)) return kParseOverflow;
  if (digits == 0 || !scan.OnlyBlanksLeft()) return kParseBadText;
  value = static_cast<int32_t>(sign * magnitude);
  return 0;
}

int ParseUnsignedInt(std::string_view text, int32_t& value) {
  TextScanner scan(text);
  scan.SkipBlanks();
  int64_t result = 0;
  int digits = 0;
  if (!scan.ReadDigits(kInt32Limit, result, digits)) return kParseOverflow;
  if (!scan.OnlyBlanksLeft()) return kParseBadText;
  value = static_cast<int32_t>(result);
  return 0;
}

int ParseHexNumber(std::string_view text, uint32_t& value) {
  TextScanner scan(text);
  scan.SkipBlanks();
  int64_t result = 0;
  for (;;) {
    const char c = scan.Peek();
    int digit = -1;
    if (IsDigit(c)) digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    result = result * 16 + digit;
    if (result > kHexLimit) return kParseOverflow;
    scan.Advance();
  }
  if (!scan.OnlyBlanksLeft()) return kParseBadText;
  value = static_cast<uint32_t>(result);
  return 0;
}

int ParseUnsignedReal(std::string_view text, double& value) {
  TextScanner scan(text);
  if (scan.OnlyBlanksLeft()) {
    value = 0.0;
    return 0;
  }
  double result = 0;
  if (!ReadUnsignedReal(scan, result) || !scan.OnlyBlanksLeft()) return kParseBadText;
  if (!std::isfinite(result)) return kParseOverflow;
  value = result;
  return 0;
}

int ParseSignedReal(std::string_view text, double& value) {
  TextScanner scan(text);
  scan.SkipBlanks();
  const int sign = ReadSign(scan);
  double result = 0;
  if (!ReadUnsignedReal(scan, result) || !scan.OnlyBlanksLeft()) return kParseBadText;
  if (!std::isfinite(result)) return kParseOverflow;
  value = sign * result;
  return 0;
}

}  // namespace trelvik
