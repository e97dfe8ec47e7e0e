// The OLC scoring on the longest real flight: the whole run the dialog makes,
// and its loop searches, pruned against the reference loops (same answers,
// checked by analysis_tests), plus a whole day of circling where every pair
// of turnpoints closes.
//   ./olc_bench --benchmark_filter=Longest   the longest real flight
//   TRELVIK_FLIGHTS=/path/to/flights         another corpus folder
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "analysis/flight_corpus.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/olc/olc_search.hpp"

namespace trelvik::olc {
namespace {

std::string CorpusFolder() {
  const char* folder = std::getenv("TRELVIK_FLIGHTS");
  return folder != nullptr ? folder : "../shared/flights";
}

std::unique_ptr<SampleMatrix> MatrixOf(const std::vector<TrackPoint>& points) {
  const FlightSamples samples = SampleFlight(points);
  auto m = std::make_unique<SampleMatrix>();
  m->Allocate(samples.Count());
  if (!BuildMatrix(samples, *m, nullptr, nullptr)) return nullptr;
  BuildGapTables(*m);
  return m;
}

void Triangles(benchmark::State& state, const std::vector<TrackPoint>& points, Engine engine) {
  const std::unique_ptr<SampleMatrix> m = MatrixOf(points);
  for (auto _ : state) {
    CoarseTriangles found;
    benchmark::DoNotOptimize(SearchTriangles(*m, engine, nullptr, nullptr, found));
    benchmark::DoNotOptimize(found);
  }
  state.counters["samples"] = m->n;
}

void OutAndReturn(benchmark::State& state, const std::vector<TrackPoint>& points, Engine engine) {
  const std::unique_ptr<SampleMatrix> m = MatrixOf(points);
  for (auto _ : state) {
    CoarseOutAndReturn found;
    benchmark::DoNotOptimize(SearchOutAndReturn(*m, engine, nullptr, nullptr, found));
    benchmark::DoNotOptimize(found);
  }
}

void Whole(benchmark::State& state, const std::vector<TrackPoint>& points, Engine engine) {
  for (auto _ : state) benchmark::DoNotOptimize(ScoreOlcFlight(points, engine));
}

void Register(const std::string& name, const std::vector<TrackPoint>& points) {
  for (const Engine engine : {Engine::Plain, Engine::Fast}) {
    const std::string kind = engine == Engine::Plain ? "Plain/" : "Fast/";
    auto* whole = benchmark::RegisterBenchmark(("Whole/" + kind + name).c_str(),
                                               [points, engine](benchmark::State& s) { Whole(s, points, engine); });
    auto* triangles = benchmark::RegisterBenchmark(
        ("Triangles/" + kind + name).c_str(), [points, engine](benchmark::State& s) { Triangles(s, points, engine); });
    auto* outAndReturn =
        benchmark::RegisterBenchmark(("OutAndReturn/" + kind + name).c_str(),
                                     [points, engine](benchmark::State& s) { OutAndReturn(s, points, engine); });
    for (auto* b : {whole, triangles, outAndReturn}) {
      b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
      if (engine == Engine::Plain) b->Iterations(1);
    }
  }
}

const bool kRegistered = [] {
  Register("DayOfCircling", testing::FlightWithinDisc(20000, 3000, 1));
  const std::vector<testing::CorpusFlight> flights = testing::ReadFlightCorpus(CorpusFolder());
  size_t longest = 0;
  for (size_t i = 0; i < flights.size(); ++i) {
    if (flights[i].points.size() > flights[longest].points.size()) longest = i;
  }
  if (!flights.empty()) Register("Longest/" + flights[longest].name, flights[longest].points);
  return true;
}();

}  // namespace
}  // namespace trelvik::olc
