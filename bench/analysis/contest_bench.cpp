// The exact contest scorer on every real flight under both rule sets: the
// time of the search alone, from the fixes in memory.
//   ./contest_bench                      every corpus flight
//   TRELVIK_FLIGHTS=/path/to/flights     another folder of IGC files
// bench/contest_vs_igc_xc_score.sh sets these figures beside the public
// JavaScript solver's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "analysis/contest/contest_scorer.hpp"
#include "base/atomic_file.hpp"
#include "trackfiles/igc_contest_fixes.hpp"

namespace trelvik {
namespace {

void Score(benchmark::State& state, const std::vector<contest::GeoFix>& fixes, contest::ContestRules rules) {
  for (auto _ : state) {
    contest::ContestScore score = contest::ScoreContestFlight(fixes, rules);
    benchmark::DoNotOptimize(score);
  }
  state.counters["fixes"] = static_cast<double>(fixes.size());
}

}  // namespace
}  // namespace trelvik

int main(int argc, char** argv) {
  using namespace trelvik;
  const char* folder = std::getenv("TRELVIK_FLIGHTS");
  const std::filesystem::path corpus = folder != nullptr ? folder : "../shared/flights";
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(corpus, error)) {
    if (entry.path().extension() == ".igc") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::string bytes;
    if (!ReadWholeFile(file.string(), bytes)) continue;
    const std::vector<contest::GeoFix> fixes = IgcContestFixes(bytes);
    for (contest::ContestRules rules : {contest::ContestRules::XContest, contest::ContestRules::Ffvl}) {
      const std::string name = std::string(contest::RulesName(rules)) + "/" + file.filename().string();
      benchmark::RegisterBenchmark(name.c_str(), [fixes, rules](benchmark::State& s) { Score(s, fixes, rules); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
