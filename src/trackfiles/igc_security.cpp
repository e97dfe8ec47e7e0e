#include "trackfiles/igc_security.hpp"

#include "base/crc32.hpp"

namespace trelvik {

const std::array<uint8_t, 64> SecurityPermutation = {
    45, 15, 22, 24, 11, 49, 8,  35, 0,  32, 56, 3,  52, 2,  51, 40,  //
    31, 29, 57, 60, 53, 44, 21, 26, 61, 5,  47, 10, 33, 39, 19, 43,  //
    20, 4,  27, 62, 41, 34, 42, 6,  1,  50, 30, 55, 25, 7,  18, 54,  //
    12, 17, 36, 13, 37, 63, 9,  23, 16, 14, 28, 48, 38, 46, 59, 58,
};

std::string IgcSecurityRecord(uint32_t crc) {
  const auto salt = static_cast<unsigned char>(SecuritySalt);
  const uint32_t c1 = Crc32Step(crc, salt);
  uint32_t d = kCrc32Initial;
  for (int shift = 24; shift >= 0; shift -= 8) d = Crc32Step(d, static_cast<unsigned char>((c1 >> shift) & 0xFFu));
  for (int i = 0; i < 4; ++i) d = Crc32Step(d, salt);

  const uint64_t v = (static_cast<uint64_t>(d) << 32) | c1;
  uint64_t p = 0;
  for (int k = 0; k < 64; ++k) p |= ((v >> SecurityPermutation[k]) & 1u) << k;

  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits(16, '0');
  for (int i = 0; i < 16; ++i) digits[i] = kHex[(p >> (60 - 4 * i)) & 0xFu];
  return digits;
}

bool IsIgcSignedLine(std::string_view line) {
  if (line.empty()) return false;
  switch (line[0]) {
    case 'A':
    case 'B':
    case 'I':
      return true;
    case 'H':
      return line.size() > 1 && line[1] == 'F';
    case 'L':
      return line.size() > 1 && line[1] == 'X';
    default:
      return false;
  }
}

}  // namespace trelvik
