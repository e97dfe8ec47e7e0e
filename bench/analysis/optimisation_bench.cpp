// The coarse stage of the flight optimisation, reference loops against the
// fast engine, on the worst case (a whole day inside the closing gap, so that
// every pair qualifies for the loop searches) and on every real flight.
//   ./optimisation_bench --benchmark_filter=Longest   the longest real flight
//   TRELVIK_FLIGHTS=/path/to/flights                  another corpus folder
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "analysis/coarse_search.hpp"
#include "analysis/flight_corpus.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/optimise_flight.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

std::string CorpusFolder() {
  const char* folder = std::getenv("TRELVIK_FLIGHTS");
  return folder != nullptr ? folder : "../shared/flights";
}

// Tells when the triangle search is announced.
class TriangleAnnouncer : public testing::ScriptedUserInterface {
 public:
  explicit TriangleAnnouncer(std::atomic<bool>& searching) : searching_(searching) {}
  void SetStatus(std::string_view text) override {
    if (text == "Computing triangle distance") searching_ = true;
  }

 private:
  std::atomic<bool>& searching_;
};

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

// The time from raising the stop flag, once the triangle search of the worst
// case runs, to the optimiser's return: what a user waits after "Halt"
// (it should stay well below 100 ms).
void StopLatency(benchmark::State& state, const std::vector<TrackPoint>& points, CoarseEngine engine) {
  for (auto _ : state) {
    std::atomic<bool> stop{false};
    std::atomic<bool> searching{false};
    TriangleAnnouncer announcer(searching);
    OptimisationResult result;
    int code = 0;
    std::thread worker([&] { code = OptimiseFlight(points, {.engine = engine}, result, &announcer, &stop); });
    while (!searching) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto raised = std::chrono::steady_clock::now();
    stop = true;
    worker.join();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - raised).count());
    benchmark::DoNotOptimize(code);
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
  for (const CoarseEngine engine : {CoarseEngine::Plain, CoarseEngine::Fast}) {
    const std::string name = engine == CoarseEngine::Plain ? "Plain" : "Fast";
    benchmark::RegisterBenchmark(("StopLatency/" + name + "/WorstCaseWithinGap").c_str(),
                                 [worst, engine](benchmark::State& s) { StopLatency(s, worst, engine); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
  }
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

