// Cost per received byte of the MLR, LogIt and Graviter decoders, against the
// time a byte takes on their lines (8N1, ten bit times): MLR and LogIt frames
// through the shared frame parser and the MLR track routine over a scripted
// link at 38400 baud (260.4 us a byte), LogIt frames at its fastest 115200
// baud (86.8 us), and the Graviter memory image at 38400 baud.
// "line_share_percent" is the decoding time against the line time; the
// drivers should stay far below 1 %.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>

#include "access/command_line_values.hpp"
#include "access/debug_trace.hpp"
#include "access/gps_job.hpp"
#include "instruments/common/pmlr_codec.hpp"
#include "instruments/graviter/codec.hpp"
#include "instruments/mlr/jobs.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace {

using namespace trelvik;

constexpr int kPoints = 20000;

void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}

std::string Frame(uint8_t number, std::string_view body) {
  std::string frame = "\x8B";
  frame += static_cast<char>(number);
  frame += "T\x01";
  frame += body;
  unsigned sum = 0;
  for (const char c : frame) sum += static_cast<uint8_t>(c);
  frame += static_cast<char>(sum >> 8 & 0xFF);
  frame += static_cast<char>(sum & 0xFF);
  return frame + "\r\n";
}

// A whole track transfer of `kPoints` points, `perFrame` to a frame.
std::string TrackTransfer(int perFrame) {
  uint8_t number = 0;
  std::string out = Frame(number++, "DEBUT");
  for (int first = 1; first <= kPoints; first += perFrame) {
    const int count = std::min(perFrame, kPoints - first + 1);
    std::string body(1, '\0');
    body += static_cast<char>(count);
    for (int k = 0; k < count; ++k) {
      const auto n = static_cast<uint16_t>(first + k);
      body += static_cast<char>(n >> 8);
      body += static_cast<char>(n & 0xFF);
      Put32(body, 1'400'000'000u + 2u * n);
      Put32(body, 550'000'000u + n);
      Put32(body, 97'000'000u - n);
      body += std::string("\x00\x3A\x98", 3);
      body += '\0';
    }
    out += Frame(number++, body);
  }
  return out + Frame(number, "FIN");
}

int64_t ThreadCpuNs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void Report(benchmark::State& state, double bytesDone, double ns, int baud) {
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  const double lineNsPerByte = 1e9 * 10 / baud;
  state.counters["line_share_percent"] = ns / bytesDone / lineNsPerByte * 100;
}

void FrameDecode(benchmark::State& state, const pmlr::FrameDialect& dialect, int perFrame, int baud) {
  const std::string bytes = TrackTransfer(perFrame);
  int64_t ns = 0;
  for (auto _ : state) {
    const int64_t start = ThreadCpuNs();
    pmlr::FrameParser parser(dialect);
    int64_t points = 0;
    for (const char c : bytes) {
      if (parser.Feed(static_cast<uint8_t>(c)) != pmlr::FrameStep::Frame) continue;
      for (int k = 0; k < parser.Count(); ++k) points += pmlr::DecodePointEntry(parser.Entry(k)).number != 0 ? 1 : 0;
    }
    ns += ThreadCpuNs() - start;
    benchmark::DoNotOptimize(points);
  }
  Report(state, static_cast<double>(state.iterations()) * static_cast<double>(bytes.size()), static_cast<double>(ns),
         baud);
}

void BM_MlrFrameDecode(benchmark::State& state) { FrameDecode(state, pmlr::kMlrTrackFrames, 27, 38400); }
BENCHMARK(BM_MlrFrameDecode)->Unit(benchmark::kMillisecond);

void BM_LogItFrameDecode(benchmark::State& state) { FrameDecode(state, pmlr::kLogItTrackFrames, 16, 115200); }
BENCHMARK(BM_LogItFrameDecode)->Unit(benchmark::kMillisecond);

// The MLR track download as a job runs it: identification, request, frames.
void BM_MlrTrackDownloadJob(benchmark::State& state) {
  const std::string frames = TrackTransfer(27);
  const std::string product = "$PMLR,IDGPS,01,SP24,0,7,2.72,X*24\r\n";
  int64_t ns = 0;
  for (auto _ : state) {
    ManualClock clock;
    RecordingChannel channel(&clock);
    DebugTrace trace;
    FakeLinkOpener opener;
    CommandLineValues commandLine;
    commandLine.timeout = 2;
    auto script = std::make_shared<LinkScript>(&clock);
    script->Expect("$PMLR,26,01,01,0339\r\n").Answer(product).Expect("$PMLR,06,00,02A9\r\n");
    script->Expect("$PMLR,24,02,0101,0399\r\n").Answer(frames).Expect("$PMLR,06,00,02A9\r\n");
    opener.AddScript(script);
    GpsJob job;
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.portName = "/dev/ttyFAKE";
    job.protocol = ProtocolType::Mlr;
    const int64_t start = ThreadCpuNs();
    const int result = mlr::DownloadTrackLog(job);
    ns += ThreadCpuNs() - start;
    if (result < 0 || job.points.size() != static_cast<size_t>(kPoints)) {
      state.SkipWithError("the download failed");
      return;
    }
  }
  Report(state, static_cast<double>(state.iterations()) * static_cast<double>(frames.size()), static_cast<double>(ns),
         38400);
}
BENCHMARK(BM_MlrTrackDownloadJob)->Unit(benchmark::kMillisecond);

// A full memory image holding one track of kPoints points, each a small change.
std::vector<uint8_t> GraviterImage() {
  std::vector<uint8_t> memory(131072, 0xFF);
  const uint32_t at = 1700;
  const uint8_t head[] = {0xFF,
                          0xFF,
                          0xFF,
                          15,
                          7,
                          24,
                          10,
                          0,
                          11,
                          0,
                          3,
                          static_cast<uint8_t>(kPoints >> 8),
                          static_cast<uint8_t>(kPoints & 0xFF)};
  std::copy(std::begin(head), std::end(head), memory.begin() + at);
  size_t pos = at + sizeof head;
  for (int k = 0; k < kPoints && pos + 5 < memory.size(); ++k) {
    // Flags 0 (every value a change), then 3+4+3+2+3+7+7 bits: time +2, lat +1, lon +1.
    const uint64_t bits = 0ull | (2ull << (10 + 12)) | (1ull << (10 + 15)) | (1ull << (10 + 22));
    for (int b = 0; b < 5; ++b) memory[pos++] = static_cast<uint8_t>(bits >> (8 * b));
  }
  memory[1697] = 0x00;
  memory[1698] = 0x06;
  memory[1699] = 0xA4;
  std::vector<uint8_t> reply = {'y'};
  uint8_t sum = 0;
  for (size_t i = 1697; i < memory.size(); ++i) {
    reply.push_back(memory[i]);
    sum ^= memory[i];
  }
  reply.insert(reply.end(), {'*', sum, '\r', '\n'});
  return reply;
}

void BM_GraviterImageDecode(benchmark::State& state) {
  const std::vector<uint8_t> reply = GraviterImage();
  int64_t ns = 0;
  for (auto _ : state) {
    std::vector<TrackPoint> points;
    const int64_t start = ThreadCpuNs();
    const int code = graviter::DecodeImage(reply, points, nullptr);
    ns += ThreadCpuNs() - start;
    if (code != 0) {
      state.SkipWithError("the image was refused");
      return;
    }
    benchmark::DoNotOptimize(points.data());
  }
  Report(state, static_cast<double>(state.iterations()) * static_cast<double>(reply.size()), static_cast<double>(ns),
         38400);
}
BENCHMARK(BM_GraviterImageDecode)->Unit(benchmark::kMillisecond);

}  // namespace
