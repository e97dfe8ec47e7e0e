// Cost of a Flymaster flight download per received byte: the block frame and
// the flight decoder, fed in the 100-byte chunks the driver reads. One byte
// takes 173.6 us on the line at 57600 baud (8N1); "per_byte" is the time of
// one, to set against that line time (the driver should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "instruments/flymaster/codec.hpp"

namespace {

std::string Frame(uint8_t type, const std::string& data) {
  std::string block = {static_cast<char>(type), static_cast<char>(type), static_cast<char>(data.size())};
  uint8_t sum = static_cast<uint8_t>(data.size());
  for (const char c : data) sum ^= static_cast<uint8_t>(c);
  return block + data + static_cast<char>(sum);
}

// A flight of about 12,000 positions as a unit streams it: a key block every
// 42 deltas, as when the glider climbs or turns faster than a delta holds.
std::string Stream() {
  std::string stream = Frame(0xA0, std::string(63, '\1'));
  std::string key(17, '\0');
  key[1] = 0x40;
  key[2] = 0x1D;
  key[3] = 0x2A;
  for (int block = 0; block < 300; ++block) {
    stream += Frame(0xA1, key);
    std::string deltas;
    for (int i = 0; i < 42; ++i) deltas += std::string{0, 3, -2, 1, -1, 1};
    stream += Frame(0xA2, deltas);
  }
  return stream + "\xA3\xA3";
}

void BM_FlymasterFlightDecode(benchmark::State& state) {
  const std::string bytes = Stream();
  for (auto _ : state) {
    std::vector<trelvik::TrackPoint> points;
    trelvik::flymaster::FlightDecoder decoder;
    trelvik::flymaster::BlockReader reader;
    decoder.Start(points, false);
    for (size_t at = 0; at < bytes.size(); at += 100) {
      const size_t end = std::min(bytes.size(), at + 100);
      for (size_t i = at; i < end; ++i) {
        if (reader.Feed(static_cast<uint8_t>(bytes[i])) == trelvik::flymaster::BlockReader::Event::Good) {
          (void)decoder.Take(reader.Type(), reader.Data());
        }
      }
    }
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FlymasterFlightDecode)->Unit(benchmark::kMillisecond);

}  // namespace
