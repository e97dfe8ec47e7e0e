// Cost of a Flytec/Braeuniger track download per received byte: the decoder
// alone, fed in the 100-byte chunks the driver reads, and the whole job
// routine over a scripted link. One byte takes 173.6 us on the line at 57600
// baud (8N1); "per_byte" is the time of one, "line_share_percent" the job's
// CPU time against the line time (the driver should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "access/command_line_values.hpp"
#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "instruments/common/igc_track_receiver.hpp"
#include "instruments/flytec/jobs.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

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

int64_t ThreadCpuNs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The latest-track download of a 5020 with software 1.13: product data, then
// the whole flight as one IGC file, through the job routine as a job runs it.
void BM_FlytecTrackDownloadJob(benchmark::State& state) {
  using namespace trelvik;
  const std::string flight = LoadFlight();
  std::string product = "$PBRSNP,5020,Jo Pilot,4711,1.13";
  FinishNmeaSentence(product);
  int64_t jobNs = 0;
  for (auto _ : state) {
    ManualClock clock;
    RecordingChannel channel(&clock);
    DebugTrace trace;
    FakeLinkOpener opener;
    CommandLineValues commandLine;
    commandLine.timeout = 2;
    auto script = std::make_shared<LinkScript>(&clock);
    script->Expect("\x11$PBRSNP,*21\r\n").Answer(product).Expect("\x11$PBRIGC,*21\r\n").Answer(flight);
    opener.AddScript(script);
    GpsJob job;
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.portName = "/dev/ttyFAKE";
    job.protocol = ProtocolType::Flytec;
    const int64_t start = ThreadCpuNs();
    const int result = flytec::DownloadTrackLog(job);
    jobNs += ThreadCpuNs() - start;
    if (result < 0) {
      state.SkipWithError("the download failed");
      return;
    }
    benchmark::DoNotOptimize(job.points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(flight.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  constexpr double kLineNsPerByte = 1e9 * 10 / 57600;  // ten bit times
  state.counters["line_share_percent"] = static_cast<double>(jobNs) / bytesDone / kLineNsPerByte * 100;
}
BENCHMARK(BM_FlytecTrackDownloadJob)->Unit(benchmark::kMillisecond);

}  // namespace
