// The coarse stage of the flight optimisation, reference loops against the
// fast engine, on the worst case (a whole day inside the closing gap, so that
// every pair qualifies for the loop searches) and on every real flight.
//   ./optimisation_bench --benchmark_filter=Longest   the longest real flight
//   TRELVIK_FLIGHTS=/path/to/flights                  another corpus folder
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "analysis/coarse_search.hpp"
#include "analysis/flight_corpus.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/optimise_flight.hpp"

namespace trelvik {
namespace {

std::string CorpusFolder() {
  const char* folder = std::getenv("TRELVIK_FLIGHTS");
  return folder != nullptr ? folder : "../shared/flights";
}

void Coarse(benchmark::State& state, const std::vector<TrackPoint>& points, bool fast) {
  const FlightSamples samples = SampleFlight(points);
  const CoarseOptions options{.loopFlightGap = 800};
  for (auto _ : state) {
    CoarseResult result;
    const int code = fast ? CoarseSearchFast(samples, options, {}, result)
                          : CoarseSearchPlain(samples, options, {}, result);
    benchmark::DoNotOptimize(code);
    benchmark::DoNotOptimize(result);
  }
  state.counters["samples"] = samples.Count();
}

void Whole(benchmark::State& state, const std::vector<TrackPoint>& points, CoarseEngine engine) {
  for (auto _ : state) {
    OptimisationResult result;
    const int code = OptimiseFlight(points, {.loopFlightGap = 800, .engine = engine}, result);
    benchmark::DoNotOptimize(code);
    benchmark::DoNotOptimize(result);
  }
}

// Wall time is what a user waits; process CPU time counts both of the fast
// engine's workers, so its ratio is the one a loaded machine cannot flatter.
void Register(const std::string& name, const std::vector<TrackPoint>& points) {
  benchmark::RegisterBenchmark(("Coarse/Plain/" + name).c_str(),
                               [points](benchmark::State& s) { Coarse(s, points, false); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime()
      ->Iterations(1)
      ->Repetitions(3);
  benchmark::RegisterBenchmark(("Coarse/Fast/" + name).c_str(),
                               [points](benchmark::State& s) { Coarse(s, points, true); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime()
      ->Repetitions(3);
}

// Registered before main runs the benchmarks.
const bool kRegistered = [] {
  const std::vector<TrackPoint> worst = testing::FlightWithinDisc(20000, 390, 1);
  Register("WorstCaseWithinGap", worst);
  benchmark::RegisterBenchmark("Whole/Plain/WorstCaseWithinGap",
                               [worst](benchmark::State& s) { Whole(s, worst, CoarseEngine::Plain); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime()
      ->Iterations(1);
  benchmark::RegisterBenchmark("Whole/Fast/WorstCaseWithinGap",
                               [worst](benchmark::State& s) { Whole(s, worst, CoarseEngine::Fast); })
      ->Unit(benchmark::kMillisecond)
      ->MeasureProcessCPUTime()
      ->UseRealTime();
  const std::vector<testing::CorpusFlight> flights = testing::ReadFlightCorpus(CorpusFolder());
  size_t longest = 0;
  for (size_t i = 0; i < flights.size(); ++i) {
    if (flights[i].points.size() > flights[longest].points.size()) longest = i;
  }
  for (size_t i = 0; i < flights.size(); ++i) {
    Register((i == longest ? "Longest/" : "Real/") + flights[i].name, flights[i].points);
  }
  return true;
}();

}  // namespace
}  // namespace trelvik

