// Cost of the XC Trainer / TopNav downloads per received byte: the MXP line
// splitter and decoder, the TNCM decoder and the binary waypoint records,
// fed the way the drivers read. One byte takes 173.6 us on the line at 57600
// baud and 1041.7 us at 9600 (8N1); "per_byte" divided by that is the
// decoder's share of the line time (it should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <span>
#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"
#include "instruments/xctrainer/waypoint_record.hpp"
#include "trackfiles/topnav_tncm.hpp"

namespace {

using trelvik::CFormat;

std::string Summed(const std::string& body) {
  uint8_t sum = 0;
  for (const char c : body) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return body + CFormat("%02X", sum) + "\r\n";
}

std::string MxpLog(int count) {
  std::string log = Summed(CFormat("@xc123412340024071510000001%04X012", count) + "00");
  for (int i = 0; i < count; ++i) {
    log += Summed(CFormat("%04X%04X03%06X%06X%04X%04X", i + 1, i * 2, 1114194 + i % 500, 195300 + i % 300,
                          1400 + i % 90, 1500 + i % 90));
  }
  return log;
}

std::string TncmLog(int blocks) {
  std::string log = "@TN?21234V1.00 240715000000001E XC Trainer" + std::string(28, '0') + "  000000\r\n";
  for (int b = 0; b < blocks; ++b) {
    const int t = 36000 + 30 * b;
    log += CFormat("%02d%02d%02d00001AC0\r\n", t / 3600 % 24, t / 60 % 60, t % 60);
    for (int i = 0; i < 30; ++i) {
      log += CFormat("%06X%06X%04X%04X", 278546 + i, 48810 + b, 1400 + i, 1500 + i) + std::string(14, '0') + "\r\n";
    }
  }
  return log + "@EOF\r\n";
}

void PerByte(benchmark::State& state, size_t bytes) {
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_XcTrainerMxpDecode(benchmark::State& state) {
  const std::string bytes = MxpLog(9000);
  for (auto _ : state) {
    std::vector<trelvik::TrackPoint> points;
    points.reserve(1000);
    trelvik::xctrainer::MxpDecoder decoder(false, 0, points);
    trelvik::xctrainer::TextLineSplitter splitter;
    for (size_t at = 0; at < bytes.size(); at += 100) {
      (void)splitter.Feed(std::string_view(bytes).substr(at, 100), [&](std::string_view line) {
        return decoder.Line(line) == trelvik::xctrainer::MxpState::Positions;
      });
    }
    benchmark::DoNotOptimize(points.data());
  }
  PerByte(state, bytes.size());
}
BENCHMARK(BM_XcTrainerMxpDecode)->Unit(benchmark::kMillisecond);

void BM_XcTrainerTncmDecode(benchmark::State& state) {
  const std::string bytes = TncmLog(300);
  for (auto _ : state) {
    trelvik::TncmDecoder decoder(trelvik::TncmOptions{true, 0});
    decoder.Points().reserve(100);
    for (const char c : bytes) {
      if (decoder.FeedByte(c) != trelvik::TncmState::Running) break;
    }
    benchmark::DoNotOptimize(decoder.Points().data());
  }
  PerByte(state, bytes.size());
}
BENCHMARK(BM_XcTrainerTncmDecode)->Unit(benchmark::kMillisecond);

void BM_XcTrainerWaypointRecords(benchmark::State& state) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) {
    trelvik::Waypoint w;
    w.lat = 553863871 + i * 1000;
    w.lon = 97054330 - i * 1000;
    w.alt = i;
    const trelvik::xctrainer::WaypointRecord record = trelvik::xctrainer::EncodeWaypointRecord(w);
    bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
  }
  for (auto _ : state) {
    trelvik::xctrainer::WaypointRecordReceiver receiver;
    std::vector<trelvik::Waypoint> waypoints;
    waypoints.reserve(30);
    for (const char c : bytes) {
      if (!receiver.Feed(static_cast<uint8_t>(c))) continue;
      trelvik::Waypoint w;
      if (trelvik::xctrainer::DecodeWaypointRecord(receiver.Record(), w) == 0) waypoints.push_back(w);
    }
    benchmark::DoNotOptimize(waypoints.data());
  }
  PerByte(state, bytes.size());
}
BENCHMARK(BM_XcTrainerWaypointRecords)->Unit(benchmark::kMillisecond);

}  // namespace
