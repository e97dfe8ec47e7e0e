// The per-byte paths of a download: tracing what arrives and checking sentences.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "access/debug_trace.hpp"
#include "access/nmea.hpp"

namespace {

void BM_CheckNmeaSentence(benchmark::State& state) {
  std::string sentence = "$PBRWPS,4612.345,N,00812.345,E,W001,LANDING FIELD,0450";
  trelvik::FinishNmeaSentence(sentence);
  sentence.resize(sentence.size() - 2);
  std::array<int, 10> offsets{};
  for (auto _ : state) {
    std::string line = sentence;
    benchmark::DoNotOptimize(trelvik::CheckNmeaSentence(line, offsets));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sentence.size()));
}
BENCHMARK(BM_CheckNmeaSentence);

// A 100-byte read chunk appended to the trace, as ReadChunk does.
void BM_TraceChunk(benchmark::State& state) {
  trelvik::DebugTrace trace;
  std::array<uint8_t, 100> chunk{};
  for (auto _ : state) {
    if (trace.Count() >= trelvik::kTraceSize - 100) trace.ClearTrace();
    benchmark::DoNotOptimize(trace.TraceBytes(chunk));
  }
  state.SetBytesProcessed(state.iterations() * 100);
}
BENCHMARK(BM_TraceChunk);

void BM_TraceHexBytes(benchmark::State& state) {
  trelvik::DebugTrace trace;
  std::array<uint8_t, 64> packet{};
  for (auto _ : state) {
    if (trace.Count() >= trelvik::kTraceSize - 400) trace.ClearTrace();
    benchmark::DoNotOptimize(trace.TraceHexBytes(packet.data(), 64));
  }
  state.SetBytesProcessed(state.iterations() * 64);
}
BENCHMARK(BM_TraceHexBytes);

}  // namespace
