#include "airspace/ctr_area.hpp"

#include <algorithm>
#include <array>

#include "records/text_scan.hpp"

namespace trelvik {
namespace {

constexpr std::array<std::string_view, kClassOther> kClassNames = {
    "A", "B", "C", "D", "E", "P", "Q", "R", "W", "CTR", "CTZ", "GP"};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

// Saturates instead of overflowing: a remark of twenty digits is nonsense, not
// a reason for undefined behaviour.
constexpr int64_t kAltitudeDigitsLimit = 2147483647;

int32_t ReadWholeNumber(TextScanner& scan) {
  int64_t value = 0;
  while (IsDigit(scan.Peek())) {
    value = value * 10 + (scan.Peek() - '0');
    if (value > kAltitudeDigitsLimit) value = kAltitudeDigitsLimit;
    scan.Advance();
  }
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t CtrClassCode(std::string_view classText) {
  for (size_t i = 0; i < kClassNames.size(); ++i) {
    if (EqualIgnoringCase(classText, kClassNames[i])) return static_cast<int32_t>(i);
  }
  return kClassOther;
}

int32_t AltitudeFromRemark(std::string_view remark) {
  TextScanner scan(remark);
  scan.SkipBlanks();
  if (IsDigit(scan.Peek())) return ReadWholeNumber(scan);
  const std::string_view rest = remark.substr(scan.Position());
  if (rest.size() >= 2 && ToUpper(rest[0]) == 'F' && ToUpper(rest[1]) == 'L') {
    scan.Advance();
    scan.Advance();
    scan.SkipBlanks();
    const int64_t level = ReadWholeNumber(scan);
    return static_cast<int32_t>(std::min<int64_t>(level * 100, kAltitudeDigitsLimit));
  }
  if (EqualIgnoringCase(rest, "UNLIMITED")) return kUnlimitedAltitude;
  return 0;
}

double RemarkToMetres(std::string_view remark) {
  TextScanner scan(remark);
  scan.SkipBlanks();
  double value = 0;
  while (IsDigit(scan.Peek())) {
    value = value * 10 + (scan.Peek() - '0');
    scan.Advance();
  }
  if (scan.AcceptDecimalPoint()) value += scan.ReadFraction();
  scan.SkipBlanks();
  const std::string_view rest = remark.substr(scan.Position());
  const auto unitEnds = [&](size_t length) { return rest.size() == length || IsBlank(rest[length]); };
  if (!rest.empty() && (rest[0] == 'm' || rest[0] == 'M')) return unitEnds(1) ? value : 0;
  if (rest.starts_with("ft") || rest.starts_with("FT")) return unitEnds(2) ? value * 0.3048 : 0;
  return value;
}

}  // namespace trelvik
