// Arbitrary bytes as an MTK logger's replies and as its log memory: the
// sentence collector and the answer checks of every step, then the bytes
// decoded as a memory image of whole 64 KB sectors (the rest unwritten).
// Nothing may crash, and every result must stay inside its limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "instruments/mtk/codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::mtk;

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr Step kSteps[] = {Step::Product,   Step::LogStatus, Step::LoggingOff, Step::MemoryUsed,
                           Step::ReadChunk, Step::LoggingOn, Step::Erase};

void Answer(const std::string& sentence) {
  Check(sentence.size() <= 3000);
  if (!ChecksumMatches(sentence)) return;
  for (const Step step : kSteps) {
    AnswerValues values;
    if (!MatchAnswer(step, 0x100, sentence, values)) continue;
    Check(values.release.size() <= 80 && values.model.size() <= 80 && values.data.size() <= kChunkSize);
    if (step == Step::ReadChunk) Check(values.address == 0x100);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SentenceCollector collector;
  for (size_t i = 0; i < size; ++i) {
    if (collector.Feed(data[i])) Answer(collector.Sentence());
  }
  // The same bytes as memory, behind a valid header so that records are reached.
  std::vector<uint8_t> image(kSectorSize, 0xFF);
  const uint8_t header[] = {0xFF, 0xFF, 0x1F, 0, 0, 0, 2, 0, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::copy(std::begin(header), std::end(header), image.begin());
  image[506] = 0x2A;
  image[507] = 0x3F;
  for (size_t i = 508; i < 512; ++i) image[i] = 0xBB;
  for (size_t i = 0; i < size && 512 + i < image.size(); ++i) image[512 + i] = data[i];
  std::vector<TrackPoint> points;
  const LogDecode decoded = DecodeMtkLog(image, points);
  Check(decoded.fault != LogFault::BadData || (decoded.dataCode >= 1 && decoded.dataCode <= 3));
  Check(points.size() <= kSectorSize / 2);
  if (!points.empty()) Check(points.front().flags == kNewSegment);
  // Raw bytes as a whole image too (headers anywhere).
  std::vector<uint8_t> raw(data, data + size);
  raw.resize((size + kSectorSize - 1) / kSectorSize * kSectorSize, 0xFF);
  points.clear();
  (void)DecodeMtkLog(raw, points);
  return 0;
}
