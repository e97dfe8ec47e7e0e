// The magellan track reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/magellan_track.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)trelvik::ReadMagellanTrack(input);
  return 0;
}
