#include "automation/contest_score_report.hpp"

#include "analysis/contest/contest_scorer.hpp"
#include "analysis/contest/contest_score_text.hpp"

namespace trelvik {

void ReportContestScore(UserInterface& ui, contest::ContestRules rules, std::span<const contest::GeoFix> fixes) {
  const std::string_view rulesName = contest::RulesName(rules);
  ui.SetStatus(std::string(rulesName) + ": " + contest::ContestScoreText(contest::ScoreContestFlight(fixes, rules)));
}

}  // namespace trelvik
