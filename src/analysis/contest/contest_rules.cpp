#include "analysis/contest/contest_rules.hpp"

#include <algorithm>

#include "records/text_scan.hpp"

namespace trelvik::contest {
namespace {

using S = FlightShape;

// A triangle scores (perimeter - closing distance) x multiplier and is valid
// while the closing distance stays within max(fixed, relative x perimeter).
constexpr FlightType kXContest[] = {
    {"Free flight", S::FreeFlight, 1.0},
    {"Free triangle", S::Triangle, 1.2, 0.0, 0.0, 0.2},
    {"FAI triangle", S::Triangle, 1.4, 0.28, 0.0, 0.2},
    {"Closed free triangle", S::Triangle, 1.4, 0.0, 0.0, 0.05},
    {"Closed FAI triangle", S::Triangle, 1.6, 0.28, 0.0, 0.05},
};

// FFVL leaves a triangle open up to 3 km without penalty.
constexpr FlightType kFfvl[] = {
    {"Distance 3 points", S::FreeFlight, 1.0},
    {"Flat triangle", S::Triangle, 1.2, 0.0, 3.0, 0.05, 3.0},
    {"FAI triangle", S::Triangle, 1.4, 0.28, 3.0, 0.05, 3.0},
};

}  // namespace

std::span<const FlightType> FlightTypes(ContestRules rules) {
  return rules == ContestRules::XContest ? std::span<const FlightType>(kXContest) : std::span<const FlightType>(kFfvl);
}

std::string_view RulesName(ContestRules rules) { return rules == ContestRules::XContest ? "XContest" : "FFVL"; }

std::optional<ContestRules> RulesFromName(std::string_view name) {
  auto sameLetters = [](char a, char b) { return ToUpper(a) == ToUpper(b); };
  for (ContestRules rules : {ContestRules::XContest, ContestRules::Ffvl}) {
    if (std::ranges::equal(name, RulesName(rules), sameLetters)) return rules;
  }
  return std::nullopt;
}

}  // namespace trelvik::contest
