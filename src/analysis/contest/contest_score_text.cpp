#include "analysis/contest/contest_score_text.hpp"

#include <cmath>

#include "base/c_format.hpp"

namespace trelvik::contest {

std::string ContestScoreText(const ContestScore& score) {
  if (score.type == nullptr) {
    if (!score.optimal && std::isinf(score.upperBound)) return "halted before a first result";
    return CFormat("no flight to score (fewer than %d fixes)", static_cast<int>(kLeastContestFixes));
  }
  std::string text = CFormat("%.*s %.2f km, %.2f points", static_cast<int>(score.type->name.size()),
                             score.type->name.data(), score.distance, score.score);
  if (!score.optimal) text += CFormat(" (halted; at most %.2f points)", score.upperBound);
  return text;
}

}  // namespace trelvik::contest
