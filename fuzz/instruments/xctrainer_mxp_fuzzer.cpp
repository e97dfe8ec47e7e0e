// Arbitrary bytes as an XC Trainer or TopNav MXP log, in the pieces the
// driver reads, through the line splitter and the decoder of both dialects.
// Nothing may crash, no line may pass the length limit, and the decoder must
// never hold more positions than its header announced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "instruments/xctrainer/mxp_codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::xctrainer;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Decode(std::string_view bytes, bool topNav) {
  std::vector<TrackPoint> points;
  MxpDecoder decoder(topNav, topNav ? 7200 : 0, points);
  TextLineSplitter splitter;
  for (size_t at = 0; at < bytes.size(); at += 100) {
    const SplitEnd end = splitter.Feed(bytes.substr(at, 100), [&](std::string_view line) {
      Check(line.size() < TextLineSplitter::kLongestLine);
      return decoder.Line(line) == MxpState::Positions;
    });
    if (end != SplitEnd::Consumed) break;
  }
  Check(points.size() == decoder.Received());
  Check(decoder.Received() <= decoder.Header().positions);
  if (decoder.State() == MxpState::Failed) {
    Check(decoder.ErrorCode() >= 1 && decoder.ErrorCode() <= 18);
    Check(MxpErrorText(decoder.ErrorCode()).starts_with("E202 "));
  }
  if (decoder.State() != MxpState::Header && decoder.State() != MxpState::Failed) {
    Check(!MxpProductLine(decoder.Header()).empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Decode(bytes, false);
  Decode(bytes, true);
  return 0;
}
