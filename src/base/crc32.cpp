#include "base/crc32.hpp"

#include <array>

namespace trelvik {
namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t Crc32Step(uint32_t crc, unsigned char byte) { return kTable[(crc ^ byte) & 0xFFu] ^ (crc >> 8); }

uint32_t Crc32Update(uint32_t crc, std::string_view bytes) {
  for (const char c : bytes) crc = Crc32Step(crc, static_cast<unsigned char>(c));
  return crc;
}

uint32_t Crc32(std::string_view bytes) { return ~Crc32Update(kCrc32Initial, bytes); }

}  // namespace trelvik
