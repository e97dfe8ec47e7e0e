#include "trackfiles/igc_security.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <string>

#include "base/crc32.hpp"

namespace trelvik {
namespace {

TEST(IgcSecurity, PermutationUsesEveryBitPositionOnce) {
  std::array<uint8_t, 64> sorted = SecurityPermutation;
  std::sort(sorted.begin(), sorted.end());
  for (int k = 0; k < 64; ++k) EXPECT_EQ(sorted[k], k);
}

TEST(IgcSecurity, SaltIsOnePrintableCharacter) {
  EXPECT_GT(SecuritySalt, ' ');
  EXPECT_LT(SecuritySalt, 0x7F);
}

// Files signed by any earlier build must keep verifying: these values may never change.
TEST(IgcSecurity, RecordsStayTheSameForGood) {
  struct Case {
    uint32_t crc;
    const char* record;
  };
  const Case cases[] = {
      {0xFFFFFFFFu, "45BC7519D387C21B"},
      {0x00000000u, "C40D36D6246116B7"},
      {0x12345678u, "12BD6018F9C59C61"},
      {0xCBF43926u, "62964066956CE053"},
  };
  for (const Case& c : cases) EXPECT_EQ(IgcSecurityRecord(c.crc), c.record) << std::hex << c.crc;
}

TEST(IgcSecurity, RecordIsTheSaltedRegisterPairWithItsBitsPermuted) {
  for (const uint32_t crc : {0u, 1u, 0x80000000u, 0xDEADBEEFu}) {
    const auto salt = static_cast<unsigned char>(SecuritySalt);
    const uint32_t c1 = Crc32Step(crc, salt);
    const uint32_t d = Crc32Update(
        kCrc32Initial, std::string{static_cast<char>(c1 >> 24), static_cast<char>(c1 >> 16), static_cast<char>(c1 >> 8),
                                   static_cast<char>(c1), SecuritySalt, SecuritySalt, SecuritySalt, SecuritySalt});
    const uint64_t v = (static_cast<uint64_t>(d) << 32) | c1;
    const std::string record = IgcSecurityRecord(crc);
    ASSERT_EQ(record.size(), 16u);
    EXPECT_TRUE(std::all_of(record.begin(), record.end(), [](char c) { return std::isxdigit(c) && !std::islower(c); }));
    const uint64_t p = std::stoull(record, nullptr, 16);
    EXPECT_EQ(std::popcount(p), std::popcount(v));
    // Bit k of the record is bit SecurityPermutation[k] of the salted pair.
    for (int k = 0; k < 64; k += 9) EXPECT_EQ((p >> k) & 1u, (v >> SecurityPermutation[k]) & 1u) << k;
  }
}

TEST(IgcSecurity, SignedLinesAreThoseTheRecordCovers) {
  struct Case {
    const char* line;
    bool isSigned;
  };
  const Case cases[] = {
      {"AXTV123 Flytec", true},
      {"B1005094730500N00815250WA0123401235", true},
      {"I013638ENL", true},
      {"HFDTE010203", true},
      {"LXTV Downloaded", true},
      {"HOPLTPILOT: Anna", false},
      {"HPPLTPILOT:x", false},
      {"LFLA something", false},
      {"H", false},
      {"L", false},
      {"G0123", false},
      {"", false},
      {"C0000", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsIgcSignedLine(c.line), c.isSigned) << c.line;
}

}  // namespace
}  // namespace trelvik
