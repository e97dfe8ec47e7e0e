#pragma once
// The open-distance rules pilots submit their flights under today: the flight
// types each rule set scores, their multipliers and closing rules.
#include <optional>
#include <span>
#include <string_view>

namespace trelvik::contest {

enum class ContestRules { XContest, Ffvl };

enum class FlightShape {
  FreeFlight,  // start, three turnpoints, finish
  Triangle,    // three turnpoints, closed
};

struct FlightType {
  std::string_view name;
  FlightShape shape;
  double multiplier;
  double minLegShare = 0.0;       // FAI: every leg at least this share of the perimeter
  double closingFixed = 0.0;      // km a triangle may always stay open
  double closingRelative = 0.0;   // share of the perimeter it may stay open
  double closingFree = 0.0;       // km open without penalty; beyond it all of it counts
};

std::span<const FlightType> FlightTypes(ContestRules rules);
std::string_view RulesName(ContestRules rules);
// "XCONTEST" and "FFVL", in any case.
std::optional<ContestRules> RulesFromName(std::string_view name);

}  // namespace trelvik::contest
