// Distance between neighbouring fixes: the call every track statistic and the
// optimisation's distance matrix make for each pair of points.
#include <benchmark/benchmark.h>

#include "b_record_fields.hpp"
#include "geo/vincenty.hpp"

namespace trelvik::bench {
namespace {

void BM_VincentyNeighbouringFixes(benchmark::State& state) {
  const auto& positions = Flight().positions;
  size_t i = 1;
  for (auto _ : state) {
    double metres = 0;
    benchmark::DoNotOptimize(VincentyDistance(positions[i - 1], positions[i], metres));
    benchmark::DoNotOptimize(metres);
    if (++i == positions.size()) i = 1;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(Flight().source);
}
BENCHMARK(BM_VincentyNeighbouringFixes);

void BM_VincentyIdenticalFixes(benchmark::State& state) {
  const auto& positions = Flight().positions;
  size_t i = 0;
  for (auto _ : state) {
    double metres = 0;
    benchmark::DoNotOptimize(VincentyDistance(positions[i], positions[i], metres));
    benchmark::DoNotOptimize(metres);
    if (++i == positions.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VincentyIdenticalFixes);

void BM_VincentyAcrossTheFlight(benchmark::State& state) {
  // Far pairs, as the distance matrix of the optimisation sees them.
  const auto& positions = Flight().positions;
  const size_t half = positions.size() / 2;
  size_t i = 0;
  for (auto _ : state) {
    double metres = 0;
    benchmark::DoNotOptimize(VincentyDistance(positions[i], positions[i + half], metres));
    benchmark::DoNotOptimize(metres);
    if (++i == half) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VincentyAcrossTheFlight);

}  // namespace
}  // namespace trelvik::bench
