#pragma once
// The reflected CRC-32 of ISO-HDLC / zlib (polynomial 0xEDB88320), exposed one
// register step at a time because the IGC security record feeds only some lines
// of a file and never applies the final inversion.
#include <cstdint>
#include <string_view>

namespace trelvik {

inline constexpr uint32_t kCrc32Initial = 0xFFFFFFFFu;

// One step of the register with the unsigned value of `byte`.
uint32_t Crc32Step(uint32_t crc, unsigned char byte);

// Feeds every byte of `bytes`, in order. No final inversion.
uint32_t Crc32Update(uint32_t crc, std::string_view bytes);

// The usual checksum of a whole buffer: started at kCrc32Initial, inverted at the end.
uint32_t Crc32(std::string_view bytes);

}  // namespace trelvik
