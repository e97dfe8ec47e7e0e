#include "automation/contest_score_report.hpp"

#include "analysis/contest/contest_fixes.hpp"
#include "analysis/contest/contest_scorer.hpp"
#include "base/c_format.hpp"
#include "trackfiles/igc_contest_fixes.hpp"

namespace trelvik {

void ReportContestScore(UserInterface& ui, contest::ContestRules rules, std::span<const contest::GeoFix> fixes) {
  const std::string_view rulesName = contest::RulesName(rules);
  const contest::ContestScore score = contest::ScoreContestFlight(fixes, rules);
  if (score.type == nullptr) {
    ui.SetStatus(CFormat("%.*s: no flight to score (fewer than %d fixes)", static_cast<int>(rulesName.size()),
                         rulesName.data(), static_cast<int>(contest::kLeastContestFixes)));
    return;
  }
  ui.SetStatus(CFormat("%.*s: %.*s %.2f km, %.2f points", static_cast<int>(rulesName.size()), rulesName.data(),
                       static_cast<int>(score.type->name.size()), score.type->name.data(), score.distance, score.score));
}

std::vector<contest::GeoFix> ContestFixesOfLog(const TrackLog& log) {
  if (!log.rawIgc.empty()) return IgcContestFixes(log.rawIgc);
  return contest::ContestFixes(log.points);
}

}  // namespace trelvik
