// Throughput of the IGC decoder and encoder on the largest real flight of the
// corpus (24,794 fixes, 2.97 MB). Bytes per second are counted over the IGC
// text read or written.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "base/atomic_file.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik {
namespace {

const std::string& LargestFlight() {
  static const std::string bytes = [] {
    const char* dir = std::getenv("TRELVIK_FLIGHTS");
    const std::string folder = dir ? dir : std::string(TRELVIK_SOURCE_DIR) + "/../shared/flights";
    std::string text;
    if (!ReadWholeFile(folder + "/gl-lxnav-lx9070-2024-1s.igc", text)) text.clear();
    return text;
  }();
  return bytes;
}

void BM_DecodeIgc(benchmark::State& state) {
  const std::string& bytes = LargestFlight();
  if (bytes.empty()) {
    state.SkipWithError("flight corpus not found (set TRELVIK_FLIGHTS)");
    return;
  }
  for (auto _ : state) {
    IgcDecodeResult result = DecodeIgc(bytes);
    benchmark::DoNotOptimize(result.points.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeIgc)->Unit(benchmark::kMillisecond);

void BM_EncodeIgc(benchmark::State& state) {
  const std::string& bytes = LargestFlight();
  const IgcDecodeResult decoded = DecodeIgc(bytes);
  if (!decoded.Ok()) {
    state.SkipWithError("flight corpus not found (set TRELVIK_FLIGHTS)");
    return;
  }
  IgcEncoderInput input;
  input.points = decoded.points;
  input.signable = 1;
  input.wantSecurity = true;
  input.serial = "000";
  int64_t written = 0;
  for (auto _ : state) {
    EncodedIgc encoded = EncodeIgc(input);
    written += encoded.length;
    benchmark::DoNotOptimize(encoded.text.data());
  }
  state.SetBytesProcessed(written);
  state.counters["fixes"] = static_cast<double>(decoded.Count());
}
BENCHMARK(BM_EncodeIgc)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trelvik
