// Cost of a Garmin track download per received byte: the serial unframing
// and the D301 decoding alone, fed in the 100-byte chunks the driver reads,
// and the whole job routine over a scripted link (product data, capability
// array, 3000 points, each acknowledged). One byte takes 1041.7 us on the
// line at 9600 baud (8N1); "per_byte" is the time of one,
// "line_share_percent" the CPU time against the line time (to stay below 1 %).
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "access/command_line_values.hpp"
#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/link_serial.hpp"
#include "instruments/garmin/tracks.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::garmin;

constexpr int kPoints = 3000;
constexpr double kLineNsPerByte = 1e9 * 10 / 9600;  // ten bit times

std::string Framed(const GarminPacket& packet) {
  const std::vector<uint8_t> frame = FrameSerialPacket(packet);
  return {frame.begin(), frame.end()};
}

GarminPacket D301Point(int i) {
  GarminPacket p;
  p.id = kPidTrackPoint;
  p.size = 21;
  p.PutU32(0, static_cast<uint32_t>(554766000 + 1000 * i));
  p.PutU32(4, static_cast<uint32_t>(97000000 - 700 * i));
  p.PutU32(8, static_cast<uint32_t>(1090000000 + 2 * i));
  p.PutF32(12, 1500.0f + static_cast<float>(i % 400));
  p.PutF32(16, 1.0e25f);
  p.data[20] = i == 0 ? 1 : 0;
  return p;
}

// Every point of the track as it arrives on the line.
std::string TrackBytes() {
  std::string bytes;
  for (int i = 0; i < kPoints; ++i) bytes += Framed(D301Point(i));
  return bytes;
}

void BM_GarminTrackDecode(benchmark::State& state) {
  const std::string bytes = TrackBytes();
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (auto _ : state) {
    SerialReceiver receiver;
    std::vector<TrackPoint> points;
    points.reserve(kPoints);
    for (size_t at = 0; at < bytes.size(); at += 100) {
      const size_t end = std::min(bytes.size(), at + 100);
      for (size_t k = at; k < end; ++k) {
        if (!receiver.Feed(data[k])) continue;
        TrackPoint point;
        if (DecodeTrackPoint(301, receiver.Packet(), point) == 0) points.push_back(point);
      }
    }
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(bytes.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GarminTrackDecode)->Unit(benchmark::kMillisecond);

int64_t ThreadCpuNs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

std::string Ack(uint8_t id) { return Framed(garmin::Ack(id)); }

void BM_GarminTrackDownloadJob(benchmark::State& state) {
  GarminPacket product = MakePacket(kPidProductData, {130, 0, 24, 1});
  for (const char c : std::string("eTrex Legend")) product.data[product.size++] = static_cast<uint8_t>(c);
  product.data[product.size++] = 0;
  GarminPacket array = MakePacket(kPidProtocolArray);
  for (const auto& [tag, number] : std::vector<std::pair<char, int>>{
           {'L', 1}, {'A', 10}, {'A', 100}, {'D', 108}, {'A', 301}, {'D', 310}, {'D', 301}}) {
    array.data[array.size++] = static_cast<uint8_t>(tag);
    array.PutU16(array.size, static_cast<uint16_t>(number));
    array.size = static_cast<uint8_t>(array.size + 2);
  }
  std::vector<std::string> points;
  int64_t answerBytes = 0;
  for (int i = 0; i < kPoints; ++i) {
    points.push_back(Framed(D301Point(i)));
    answerBytes += static_cast<int64_t>(points.back().size());
  }
  int64_t jobNs = 0;
  for (auto _ : state) {
    ManualClock clock;
    RecordingChannel channel(&clock);
    DebugTrace trace;
    FakeLinkOpener opener;
    CommandLineValues commandLine;
    commandLine.timeout = 2;
    auto script = std::make_shared<LinkScript>(&clock);
    script->Expect(Framed(ProductRequest())).Answer(Framed(product)).Expect(Ack(kPidProductData));
    script->Answer(Framed(array)).Expect(Ack(kPidProtocolArray));
    script->Expect(Framed(Command(kCmdTransferTracks))).Answer(Ack(kPidCommand) + Framed(Records(kPoints)));
    script->Expect(Ack(kPidRecords));
    for (const std::string& p : points) script->Answer(p).Expect(Ack(kPidTrackPoint));
    script->Answer(Framed(TransferComplete(kCmdTransferTracks))).Expect(Ack(kPidTransferComplete));
    opener.AddScript(script);
    GpsJob job;
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.portName = "/dev/ttyFAKE";
    job.protocol = ProtocolType::GarminSerial;
    const int64_t start = ThreadCpuNs();
    const int result = SerialDownloadTrackLog(job);
    jobNs += ThreadCpuNs() - start;
    if (result < 0 || job.points.size() != static_cast<size_t>(kPoints)) {
      state.SkipWithError("the download failed");
      return;
    }
    benchmark::DoNotOptimize(job.points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(answerBytes);
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["line_share_percent"] = static_cast<double>(jobNs) / bytesDone / kLineNsPerByte * 100;
}
BENCHMARK(BM_GarminTrackDownloadJob)->Unit(benchmark::kMillisecond);

}  // namespace
