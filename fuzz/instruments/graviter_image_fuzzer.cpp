// Arbitrary bytes as a Graviter's replies: the identification line parser
// byte by byte, and the whole input as the memory image answering "y" (once
// as it came, once framed as a reply with a right checksum, so the ring walk
// itself is reached). The walk must end, read only what arrived and give
// points whose tracks it accepted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "instruments/graviter/codec.hpp"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik::graviter;
  IdentityParser identity;
  for (size_t i = 0; i < size; ++i) {
    if (identity.Feed(data[i])) Check(identity.Model().size() <= 20 && identity.Serial().size() <= 20);
  }
  std::vector<trelvik::TrackPoint> points;
  int notices = 0;
  const auto notice = [&](const TrackHeader& h) {
    Check(h.month >= 1 && h.month <= 12 && h.day >= 1 && h.day <= 31);
    ++notices;
  };
  const int raw = DecodeImage({data, size}, points, notice);
  Check(raw >= 0 && raw <= 37);
  // The same bytes as a well-framed image: pointers, headers and points.
  std::vector<uint8_t> reply = {'y'};
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    reply.push_back(data[i]);
    sum ^= data[i];
  }
  reply.insert(reply.end(), {'*', sum, '\r', '\n'});
  points.clear();
  const int framed = DecodeImage(reply, points, notice);
  Check(framed >= 0 && framed <= 37);
  Check(points.size() <= size * 8);
  return 0;
}
