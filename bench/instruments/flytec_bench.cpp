// Decode cost of a Flytec/Braeuniger track download per received byte, fed
// in the 100-byte chunks the driver reads. One byte takes 173.6 us on the line
// at 57600 baud (8N1); "per_byte" is the decoding time of one.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/c_format.hpp"
#include "instruments/common/igc_track_receiver.hpp"

namespace {

std::string LoadFlight() {
  std::ifstream in("../shared/flights/pg-flytec5020-2007-3s.igc", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!bytes.empty()) return bytes;
  // Without the corpus: a synthetic file of the same shape.
  bytes = "AFLY05094\r\nHFDTE220407\r\n";
  for (int i = 0; i < 9000; ++i) {
    const int t = 9 * 3600 + i * 3;
    bytes += trelvik::CFormat("B%02d%02d%02d4556209N00651068EA0204402044000\r\n", t / 3600 % 24, t / 60 % 60,
                              t % 60);
  }
  return bytes + "GD07A29D3BE69757B3769A12C526D5F25\r\n";
}

void BM_FlytecIgcDecode(benchmark::State& state) {
  const std::string bytes = LoadFlight();
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (auto _ : state) {
    std::vector<trelvik::TrackPoint> points;
    std::string raw;
    trelvik::IgcTrackReceiver receiver;
    receiver.Start(points, raw);
    for (size_t at = 0; at < bytes.size(); at += 100) {
      receiver.Feed({data + at, std::min<size_t>(100, bytes.size() - at)});
    }
    receiver.Finish();
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  // Decoding time per byte; divided by the 173.6 us a byte takes on the line it is the driver's share.
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FlytecIgcDecode)->Unit(benchmark::kMillisecond);

}  // namespace
