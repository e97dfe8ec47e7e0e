#include "base/crc32.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(Crc32, CheckValueOfTheStandardTestString) { EXPECT_EQ(Crc32("123456789"), 0xCBF43926u); }

TEST(Crc32, EmptyInputLeavesTheRegisterAlone) {
  EXPECT_EQ(Crc32Update(kCrc32Initial, ""), kCrc32Initial);
  EXPECT_EQ(Crc32(""), 0u);
}

TEST(Crc32, UpdateIsStepAfterStepWithoutFinalInversion) {
  uint32_t stepped = kCrc32Initial;
  for (const char c : std::string_view("B1005094730500N")) stepped = Crc32Step(stepped, static_cast<unsigned char>(c));
  EXPECT_EQ(Crc32Update(kCrc32Initial, "B1005094730500N"), stepped);
  EXPECT_EQ(Crc32Update(Crc32Update(kCrc32Initial, "B100509"), "4730500N"), stepped);
}

TEST(Crc32, BytesAboveSevenBitsAreFedAsUnsigned) {
  // 0xE9 ("é" in Latin-1) must not be sign-extended into the table index.
  EXPECT_EQ(Crc32("\xE9"), 0x0BD4B551u);
}

}  // namespace
}  // namespace trelvik
