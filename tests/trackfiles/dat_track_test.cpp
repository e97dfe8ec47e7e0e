#include "trackfiles/dat_track.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "support/golden_file.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

void PutWord(std::string& bytes, size_t index, uint32_t word) {
  for (int k = 0; k < 4; ++k) bytes[4 * index + k] = static_cast<char>(word >> (24 - 8 * k));
}
uint32_t Word(const std::string& bytes, size_t index) {
  uint32_t word = 0;
  for (int k = 0; k < 4; ++k) word = (word << 8) | static_cast<uint8_t>(bytes[4 * index + k]);
  return word;
}

std::string Fail(const std::string& bytes) { return ReadDatTrack(bytes).error.text; }

TEST(DatTrack, GoldenFileReads) {
  const TrackFileRead read = ReadDatTrack(GoldenFile("track_files/flight.dat"));
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 3);
  EXPECT_EQ(read.records.points[0].flags, kNewSegment);
  EXPECT_EQ(read.records.points[0].lon, 107374182);  // easting 500000 of zone 32: 9 degrees east
  EXPECT_EQ(read.records.points[2].gpsAlt, -12);     // 24-bit two's complement
}

TEST(DatTrack, ChecksumAndValidationAreChecked) {
  const std::string golden = GoldenFile("track_files/flight.dat");
  ASSERT_EQ(golden.size(), 72u);
  std::string changed = golden;
  PutWord(changed, 5, Word(golden, 5) + 1);
  EXPECT_EQ(Fail(changed), "Checksum verification failed");
  PutWord(changed, 16, Word(golden, 16) - 1);  // the checksum fixed up, the validation word not
  EXPECT_EQ(Fail(changed), "Data validation failed");
  EXPECT_TRUE(ReadDatTrack(golden.substr(0, 68)).Ok());  // the validation word is optional
}

TEST(DatTrack, HeaderFaultsInOrder) {
  const std::string golden = GoldenFile("track_files/flight.dat");
  struct Case {
    size_t byte;
    char value;
    const char* error;
  };
  const Case cases[] = {
      {11, 0, "Zero track positions"},
      {12, 0x00, "Bad DWORD number 4"},
      {14, 0, "Bad DWORD number 4"},   // zone 0
      {14, 61, "Bad DWORD number 4"},  // zone 61
      {15, 'I', "Bad DWORD number 4"},
      {11, 4, "File size not consistent with track positions"},
      {4, 0, "File size not consistent with track positions"},  // no altitudes: 3 words a point
  };
  for (const Case& c : cases) {
    std::string bytes = golden;
    bytes[c.byte] = c.value;
    EXPECT_EQ(Fail(bytes), c.error) << c.byte;
  }
  EXPECT_EQ(Fail(golden.substr(0, 15)), "File header too small");
  EXPECT_EQ(Fail(golden.substr(0, 70)), "File size not a multiple of 4");
  std::string huge = golden;
  PutWord(huge, 2, 0xFFFFFFFF);  // 4 x count overflows 32 bits
  EXPECT_EQ(Fail(huge), "File size not consistent with track positions");
}

TEST(DatTrack, RemainderIsTheNumberModuloThePrime) {
  const uint32_t small[] = {1431655777u + 5};
  EXPECT_EQ(DatRemainder(small), 5u);
  const uint32_t two[] = {1, 0};  // 2^32
  EXPECT_EQ(DatRemainder(two), static_cast<uint32_t>((uint64_t{1} << 32) % 1431655777u));
}

}  // namespace
}  // namespace trelvik
