// The TNCM decoder on arbitrary bytes: as a ".tnc" file, and as an XC Trainer
// download that takes its record format from the header.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/topnav_tncm.hpp"
#include "trackfiles/topnav_track.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)ReadTopNavTrack(input, -3600);
  TncmDecoder decoder(TncmOptions{true, 7200});
  (void)decoder.Feed(input);
  return 0;
}
