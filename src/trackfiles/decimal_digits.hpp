#pragma once
// Decimal numbers of the XML readers, summed while their digits are scanned:
// the short numbers of track files then need no second pass over their text.
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/c_format.hpp"

namespace trelvik {

// Adds the digits at `p` (up to `end`) to `sum` and returns where they stop.
// Without `end`, the text's terminator stops them.
inline const char* SumDigits(const char* p, const char* end, uint64_t& sum) {
  for (; p < end && *p >= '0' && *p <= '9'; ++p) sum = sum * 10 + static_cast<uint64_t>(*p - '0');
  return p;
}
inline const char* SumDigits(const char* p, uint64_t& sum) {
  for (; *p >= '0' && *p <= '9'; ++p) sum = sum * 10 + static_cast<uint64_t>(*p - '0');
  return p;
}

// The value of "<integer>.<fraction>" (plain digits, not both empty) when
// `sum` is the number all their digits make together: the value DecimalValue
// gives, or false where it gives none. Up to 15 digits the sum and the power of
// ten are exact doubles, so one division rounds correctly; longer numbers go
// to DecimalValue. (A plain result, not an optional: these run millions of
// times, and an optional passed through memory stalls the load that follows.)
inline bool DecimalFromDigits(std::string_view integer, std::string_view fraction, uint64_t sum, double& value) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  if (integer.size() + fraction.size() <= 15) {
    value = static_cast<double>(sum) / kPowersOfTen[fraction.size()];
    return true;
  }
  const std::optional<double> parsed = DecimalValue(integer, fraction);
  if (parsed) value = *parsed;
  return parsed.has_value();
}

}  // namespace trelvik
