// DecodeIgc on arbitrary bytes. Whatever decodes must also survive our own
// writer: encoded, signed, verified and decoded again to the same points.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_verify.hpp"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const IgcDecodeResult decoded = DecodeIgc(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!decoded.Ok()) {
    Check(decoded.points.empty());
    return 0;
  }
  Check(!decoded.points.empty());
  Check(decoded.maker.size() == 3 && decoded.serial.size() == 3);

  IgcEncoderInput input;
  input.points = decoded.points;
  input.signable = 1;
  input.wantSecurity = true;
  input.serial = decoded.serial;
  const EncodedIgc encoded = EncodeIgc(input);
  Check(encoded.length > 0 && encoded.isSigned);
  Check(VerifyIgcText(encoded.text) == IgcVerification::Passed);

  const IgcDecodeResult again = DecodeIgc(encoded.text);
  Check(again.Ok() && again.Count() == decoded.Count());
  for (size_t i = 0; i < decoded.points.size(); ++i) {
    const TrackPoint& a = decoded.points[i];
    const TrackPoint& b = again.points[i];
    Check(a.time == b.time && a.lat == b.lat && a.lon == b.lon && a.baroAlt == b.baroAlt);
    Check(b.gpsAlt == (a.gpsAlt < 0 ? 0 : a.gpsAlt));
  }
  return 0;
}
