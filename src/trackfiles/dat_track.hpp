#pragma once
// Old FlightLog ".dat" track files: big-endian 32-bit words, UTM positions of
// one zone, a checksum word and an optional validation word.
#include <cstdint>
#include <span>
#include <string_view>

#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// Errors come back under "Decoding track log file".
[[nodiscard]] TrackFileRead ReadDatTrack(std::string_view bytes);

// The validation word's remainder of a word sequence (read as one big-endian
// number) modulo 1431655777; the file stores its complement.
[[nodiscard]] uint32_t DatRemainder(std::span<const uint32_t> words);

}  // namespace trelvik
