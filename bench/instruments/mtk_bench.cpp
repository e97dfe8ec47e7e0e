// Cost of an MTK log download per received byte: the sentence collector, the
// checksum and answer check of every chunk, the copy into the memory image,
// and the decoding of the image into points. One byte takes 86.8 us on the
// line at 115200 baud (8N1); "per_byte" divided by that is the decoder's
// share of the line time (it should stay far below 1 %).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "instruments/mtk/codec.hpp"

namespace {

template <typename T>
void Put(std::vector<uint8_t>& bytes, size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof(T));
}

// Three sectors of records of time, validity, position and height.
std::vector<uint8_t> Memory(size_t& used) {
  constexpr size_t kRecord = 28;
  constexpr size_t kPerSector = 2000;
  std::vector<uint8_t> memory(3 * 0x10000, 0xFF);
  for (size_t sector = 0; sector < 3; ++sector) {
    const size_t base = sector * 0x10000;
    Put<uint16_t>(memory, base, sector == 2 ? 0xFFFF : kPerSector);
    Put<uint32_t>(memory, base + 2, 0x1F);
    for (const size_t at : {6, 8, 10, 12, 14, 16, 18}) Put<uint16_t>(memory, base + at, 0);
    Put<uint16_t>(memory, base + 506, 0x3F2A);
    Put<uint32_t>(memory, base + 508, 0xBBBBBBBB);
    for (size_t i = 0; i < kPerSector; ++i) {
      const size_t at = base + 512 + i * kRecord;
      Put<uint32_t>(memory, at, static_cast<uint32_t>(1721044800 + sector * kPerSector + i));
      Put<uint16_t>(memory, at + 4, 2);
      Put<double>(memory, at + 6, 46.5 + static_cast<double>(i) * 1e-5);
      Put<double>(memory, at + 14, 8.25);
      Put<float>(memory, at + 22, 1000.0f);
      uint8_t sum = 0;
      for (size_t b = at; b < at + 26; ++b) sum ^= memory[b];
      memory[at + 26] = '*';
      memory[at + 27] = sum;
      used = at + kRecord;
    }
  }
  return memory;
}

void BM_MtkChunksAndLogDecode(benchmark::State& state) {
  size_t used = 0;
  const std::vector<uint8_t> memory = Memory(used);
  std::string line;
  for (uint32_t address = 0; address < used; address += 256) {
    std::string s = trelvik::CFormat("$PMTK182,8,%08X,", address);
    for (size_t i = 0; i < 256; ++i) s += trelvik::CFormat("%02X", memory[address + i]);
    trelvik::FinishNmeaSentence(s);
    line += s;
  }
  using namespace trelvik::mtk;
  for (auto _ : state) {
    std::vector<uint8_t> image(memory.size(), 0xFF);
    SentenceCollector collector;
    uint32_t expected = 0;
    for (const char c : line) {
      if (!collector.Feed(static_cast<uint8_t>(c))) continue;
      AnswerValues values;
      if (!ChecksumMatches(collector.Sentence()) ||
          !MatchAnswer(Step::ReadChunk, expected, collector.Sentence(), values)) {
        continue;
      }
      std::copy(values.data.begin(), values.data.end(), image.begin() + values.address);
      expected += 256;
    }
    std::vector<trelvik::TrackPoint> points;
    points.reserve(2000);
    (void)DecodeMtkLog(image, points);
    benchmark::DoNotOptimize(points.data());
  }
  const double bytesDone = static_cast<double>(state.iterations()) * static_cast<double>(line.size());
  state.SetBytesProcessed(static_cast<int64_t>(bytesDone));
  state.counters["per_byte"] = benchmark::Counter(bytesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MtkChunksAndLogDecode)->Unit(benchmark::kMillisecond);

}  // namespace
