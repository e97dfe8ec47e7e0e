#include "trackfiles/igc_contest_fixes.hpp"

#include "analysis/contest/contest_fixes.hpp"
#include "trackfiles/igc_records.hpp"

namespace trelvik {
namespace {

constexpr size_t kValidityColumn = 24;
constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;
constexpr int64_t kSecondsPerDay = 86400;

}  // namespace

std::vector<contest::GeoFix> IgcContestFixes(std::string_view igcText) {
  std::vector<contest::TimedFix> fixes;
  int64_t day = 0;
  int64_t previous = -1;
  while (!igcText.empty()) {
    const size_t end = igcText.find('\n');
    std::string_view line = igcText.substr(0, end);
    igcText.remove_prefix(end == std::string_view::npos ? igcText.size() : end + 1);
    if (line.empty() || line[0] != 'B' || line.size() <= kValidityColumn || line[kValidityColumn] != 'A') continue;
    const IgcBRecordResult parsed = ParseIgcBRecord(line);
    if (parsed.error != 0) continue;
    // A flight over midnight counts its seconds on into the next day.
    int64_t time = day * kSecondsPerDay + parsed.record.secondsOfDay;
    if (time < previous) {
      ++day;
      time += kSecondsPerDay;
    }
    previous = time;
    fixes.push_back({time, {parsed.record.lat * kDegreesPerSemicircle, parsed.record.lon * kDegreesPerSemicircle}});
  }
  return contest::ContestFixes(fixes);
}

std::vector<contest::GeoFix> ContestFixesOfLog(const TrackLog& log) {
  if (!log.rawIgc.empty()) return IgcContestFixes(log.rawIgc);
  return contest::ContestFixes(log.points);
}

}  // namespace trelvik
