// The ozi track reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/ozi_track.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const trelvik::TrackFileRead read = trelvik::ReadOziTrack(input);
  if (read.Ok()) (void)trelvik::WriteOziTrack(read.records.points, 0);
  return 0;
}
