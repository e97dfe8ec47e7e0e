// Cost of a Leonardo track download per received byte: the memory replies of
// four records each, parsed byte by byte, and their records decoded. One byte
// takes 260.4 us on the line at 38400 baud (8N1); "per_byte" is the time of
// one, to set against that line time (the driver should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "instruments/leonardo/codec.hpp"

namespace {

using namespace trelvik::leonardo;

// 3000 replies of four records each, as a flight of 12,000 positions comes.
std::string Replies() {
  std::string hex;
  for (int i = 0; i < 4 * kTrackRecord; ++i) hex += trelvik::CFormat("%02X", static_cast<unsigned>(i * 7 % 256));
  std::string reply = "$PDGFRMM," + hex;
  trelvik::FinishNmeaSentence(reply);
  std::string all;
  for (int i = 0; i < 3000; ++i) all += reply;
  return all;
}

void BM_LeonardoTrackDecode(benchmark::State& state) {
  const std::string bytes = Replies();
  for (auto _ : state) {
    std::vector<trelvik::TrackPoint> points;
    MemoryReply reply(4 * kTrackRecord);
    for (const char c : bytes) {
      if (reply.Feed(static_cast<uint8_t>(c)) != 1) continue;
      const std::vector<uint8_t>& data = reply.Data();
      for (size_t at = 0; at < data.size(); at += kTrackRecord) {
        points.push_back(DecodeTrackRecord(std::span<const uint8_t>(data).subspan(at, kTrackRecord)));
      }
      reply = MemoryReply(4 * kTrackRecord);
    }
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LeonardoTrackDecode)->Unit(benchmark::kMillisecond);

}  // namespace
