#pragma once
// How a contest score reads, on the command line and in the window.
#include <string>

#include "analysis/contest/contest_scorer.hpp"

namespace trelvik::contest {

// "Closed free triangle 157.55 km, 218.86 points"; a halted search adds the
// bound it left open, and a flight too short to score says so.
std::string ContestScoreText(const ContestScore& score);

}  // namespace trelvik::contest
