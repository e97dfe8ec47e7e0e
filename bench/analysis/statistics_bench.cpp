// Flight statistics, the reference walks that measure every window afresh
// against the computation in use, on the longest real flight and on a
// 200,000-fix day logged every second.
//   ./statistics_bench                       both flights, both computations
//   TRELVIK_FLIGHTS=/path/to/flights         another corpus folder
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "analysis/flight_corpus.hpp"
#include "analysis/flight_statistics.hpp"
#include "analysis/flight_statistics_reference.hpp"
#include "analysis/generated_tracks.hpp"

namespace trelvik {
namespace {

std::string CorpusFolder() {
  const char* folder = std::getenv("TRELVIK_FLIGHTS");
  return folder != nullptr ? folder : "../shared/flights";
}

template <FlightStatistics (*Compute)(std::span<const TrackPoint>)>
void Statistics(benchmark::State& state, const std::vector<TrackPoint>& points) {
  for (auto _ : state) {
    FlightStatistics statistics = Compute(points);
    benchmark::DoNotOptimize(statistics);
  }
  state.counters["fixes"] = static_cast<double>(points.size());
}

void Register(const std::string& name, const std::vector<TrackPoint>& points) {
  benchmark::RegisterBenchmark(("Statistics/Reference/" + name).c_str(),
                               [points](benchmark::State& s) { Statistics<ComputeFlightStatisticsReference>(s, points); })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(3)
      ->ReportAggregatesOnly();
  benchmark::RegisterBenchmark(("Statistics/InUse/" + name).c_str(),
                               [points](benchmark::State& s) { Statistics<ComputeFlightStatistics>(s, points); })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(3)
      ->ReportAggregatesOnly();
}

const bool kRegistered = [] {
  const std::vector<testing::CorpusFlight> flights = testing::ReadFlightCorpus(CorpusFolder());
  size_t longest = 0;
  for (size_t i = 0; i < flights.size(); ++i) {
    if (flights[i].points.size() > flights[longest].points.size()) longest = i;
  }
  if (!flights.empty()) Register("Longest/" + flights[longest].name, flights[longest].points);
  Register("Synthetic200000", testing::RandomWalkFlight(200000, 12, 5));
  return true;
}();

}  // namespace
}  // namespace trelvik
