// Cost of a Magellan track download per received byte: the sentence receiver
// and the $PMGNTRK parser, fed the way the driver reads. One byte takes
// 1041.7 us on the line at 9600 baud (8N1); "per_byte" divided by that is the
// decoder's share of the line time (it should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "instruments/magellan/codec.hpp"

namespace {

std::string TrackSentences(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const int t = 9 * 3600 + i * 2;
    std::string s = trelvik::CFormat("$PMGNTRK,4630.%03d,N,00815.%03d,E,%05d,M,%02d%02d%02d.00,A,,150724", i % 1000,
                                     (i * 7) % 1000, 1000 + i % 500, t / 3600 % 24, t / 60 % 60, t % 60);
    trelvik::FinishNmeaSentence(s);
    bytes += s;
  }
  return bytes;
}

void BM_MagellanTrackDecode(benchmark::State& state) {
  const std::string bytes = TrackSentences(9000);
  for (auto _ : state) {
    trelvik::magellan::SentenceReceiver receiver;
    std::vector<trelvik::TrackPoint> points;
    points.reserve(200);
    for (const char c : bytes) {
      if (receiver.Feed(static_cast<uint8_t>(c)) != 1) continue;
      trelvik::TrackPoint point;
      if (trelvik::magellan::ParseTrackSentence(receiver.Sentence(), point) == 0) points.push_back(point);
    }
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MagellanTrackDecode)->Unit(benchmark::kMillisecond);

}  // namespace
