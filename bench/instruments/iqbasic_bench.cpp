// Cost of an IQ Basic / Flytec 6015 track download per received byte: the
// whole job routine (identification, track list, one flight) over a scripted
// link. One byte takes 173.6 us on the line at 57600 baud (8N1);
// "line_share_percent" is the job's CPU time against the line time of the
// flight's bytes (the driver should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "access/command_line_values.hpp"
#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "base/c_format.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace {

std::string LoadIqFlight() {
  std::ifstream in("sim/flights/pg-flytec6030-2008-3s.igc", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!bytes.empty()) return bytes;
  bytes = "AFLY05094\r\nHFDTE220407\r\n";
  for (int i = 0; i < 9000; ++i) {
    const int t = 9 * 3600 + i * 3;
    bytes += trelvik::CFormat("B%02d%02d%02d4556209N00651068EA0204402044000\r\n", t / 3600 % 24, t / 60 % 60, t % 60);
  }
  return bytes + "GD07A29D3BE69757B3769A12C526D5F25\r\n";
}

int64_t CpuNs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void BM_IqBasicTrackDownloadJob(benchmark::State& state) {
  using namespace trelvik;
  const std::string flight = LoadIqFlight();
  int64_t jobNs = 0;
  for (auto _ : state) {
    ManualClock clock;
    RecordingChannel channel(&clock);
    DebugTrace trace;
    FakeLinkOpener opener;
    CommandLineValues commandLine;
    commandLine.timeout = 2;
    commandLine.trackList[0] = 0;
    auto script = std::make_shared<LinkScript>(&clock);
    script->Expect("RPA_00\r\n").Answer("RPA_00_71040000\r\n").Expect("RPA_01\r\n").Answer("RPA_01_01\r\n");
    script->Expect("RPA_02\r\n").Answer("RPA_02_D2040000\r\n");
    script->Expect("ACT_20_  \r\n").Answer("1;22.04.07;09:00:00;3;03:54:00\r\n");
    script->Expect("ACT_21_01\r\n").Answer(flight);
    opener.AddScript(script);
    GpsJob job;
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.portName = "/dev/ttyFAKE";
    job.protocol = ProtocolType::IqBasic;
    const int64_t start = CpuNs();
    const int result = iqbasic::DownloadTrackLog(job);
    jobNs += CpuNs() - start;
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
BENCHMARK(BM_IqBasicTrackDownloadJob)->Unit(benchmark::kMillisecond);

}  // namespace
