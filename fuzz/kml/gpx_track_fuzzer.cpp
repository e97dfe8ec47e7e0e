// The GPX track reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/gpx_track_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const FileTrackChooser last = [](const TrackListRequest& request) {
    return static_cast<int>(request.lines.size()) - 1;
  };
  (void)ReadGpxTrack(input, last);
  return 0;
}
