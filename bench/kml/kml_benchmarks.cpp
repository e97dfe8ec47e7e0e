// Writing and reading back the trip folder of a long flight (20,000 points at
// 1 s, about as long as the longest logs of the flight corpus).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "trackfiles/kml_track_reader.hpp"
#include "trackfiles/kml_trip.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

std::vector<TrackPoint> LongFlight() {
  std::vector<TrackPoint> points(20000);
  for (size_t i = 0; i < points.size(); ++i) {
    const double t = static_cast<double>(i);
    points[i].time = 700000000 + static_cast<TrackTime>(i);
    points[i].lat = DegreesToSemicircle(46.5 + 0.2 * std::sin(t / 3000));
    points[i].lon = DegreesToSemicircle(8.0 + 0.3 * std::cos(t / 2500));
    points[i].gpsAlt = 20000 + static_cast<int32_t>(5000 * std::sin(t / 200));
    points[i].baroAlt = points[i].gpsAlt / 10 - 30;
  }
  return points;
}

KmlTripInput Input(const std::vector<TrackPoint>& points) {
  KmlTripInput input;
  input.points = points;
  input.isSigned = 1;
  input.utcTimes = 1;
  input.hasPressureAltitude = 1;
  input.optimisation.fivePoints.index = {0, 5000, 10000, 15000, 19999};
  return input;
}

void BM_BuildKmlTrip(benchmark::State& state) {
  const std::vector<TrackPoint> points = LongFlight();
  const KmlTripInput input = Input(points);
  for (auto _ : state) {
    TextBuffer buffer(kKmlTripBufferStart);
    benchmark::DoNotOptimize(BuildKmlTrip(buffer, input, "Benchmark", "Flytec 6030"));
    benchmark::DoNotOptimize(buffer.Length());
  }
}
BENCHMARK(BM_BuildKmlTrip)->Unit(benchmark::kMillisecond);

void BM_ReadKmlTrack(benchmark::State& state) {
  const std::vector<TrackPoint> points = LongFlight();
  TextBuffer buffer(kKmlTripBufferStart);
  if (BuildKmlTrip(buffer, Input(points), "Benchmark", "Flytec 6030") != 0) state.SkipWithError("build failed");
  for (auto _ : state) {
    const TrackFileRead read = ReadKmlTrack(buffer.Text());
    if (read.records.signatureValid != 2) state.SkipWithError("signature not recognised");
    benchmark::DoNotOptimize(read.records.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.Length()));
}
BENCHMARK(BM_ReadKmlTrack)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trelvik
