// VerifyIgcText on arbitrary bytes, and on our own signed output with the
// fuzzer's bytes appended: a signed file followed by anything but line ends
// must never pass.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_verify.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)VerifyIgcText(input);

  static const std::string signedFile = [] {
    static const TrackPoint points[2] = {{1, 700000000u, 566000000, -98000000, 15000, 1490, 0.0f},
                                         {0, 700000004u, 566000900, -98000700, 15013, 1491, 0.0f}};
    IgcEncoderInput in;
    in.points = points;
    in.signable = 1;
    in.wantSecurity = true;
    return EncodeIgc(in).text;
  }();
  const std::string appended = signedFile + std::string(input);
  const IgcVerification result = VerifyIgcText(appended);
  const bool onlyLineEnds = input.find_first_not_of("\r\n") == std::string_view::npos;
  const size_t firstZero = input.find('\0');
  const bool lineEndsBeforeZero = firstZero != std::string_view::npos &&
                                  input.substr(0, firstZero).find_first_not_of("\r\n") == std::string_view::npos;
  if ((result == IgcVerification::Passed) != (onlyLineEnds || lineEndsBeforeZero)) std::abort();
  return 0;
}
