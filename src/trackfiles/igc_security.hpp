#pragma once
// The program's own IGC security record: a G record computed from the CRC-32
// register left after the signed lines of a file. The writer and the verifier
// both use this one function, so they can never disagree.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik {

// Fixed for good: every file ever signed verifies only with these two values.
inline constexpr char SecuritySalt = 'k';
extern const std::array<uint8_t, 64> SecurityPermutation;

// The 16 upper-case hexadecimal digits that follow "G" for the register `crc`
// left after the last signed line.
std::string IgcSecurityRecord(uint32_t crc);

// True for the lines that the security record covers: those beginning with
// "A", "B" or "I", H lines beginning "HF" and L lines beginning "LX".
bool IsIgcSignedLine(std::string_view line);

}  // namespace trelvik
