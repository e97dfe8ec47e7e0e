#include "access/nmea.hpp"

#include <gtest/gtest.h>

#include <array>

namespace trelvik {
namespace {

struct CheckCase {
  std::string line;
  int expected;
};

class CheckNmeaSentenceTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckNmeaSentenceTest, GivesTheCodeOfTheFirstFault) {
  std::string line = GetParam().line;
  std::array<int, 8> offsets{};
  EXPECT_EQ(CheckNmeaSentence(line, offsets), GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CheckNmeaSentenceTest,
    ::testing::Values(CheckCase{"$PBRSNP,*21", 2},          // the product request, checksum 21
                      CheckCase{"$PBRSNP,*22", kNmeaChecksumMismatch},
                      CheckCase{"$PBRSNP,*2G", kNmeaBadHex},
                      CheckCase{"$PBRSNP,*G1", kNmeaBadHex},
                      CheckCase{"$PBRSNP,*2", kNmeaBadHex},
                      CheckCase{"$PBRSNP,*21 ", kNmeaTrailing},
                      CheckCase{"$PBRSNP,21", kNmeaNoStar},
                      CheckCase{"PBRSNP,*21", kNmeaNoDollar},
                      CheckCase{"", kNmeaNoDollar},
                      CheckCase{"$PBRTL,*74", 2},
                      CheckCase{"$pbrsnp,*21", 2},            // lower-case text
                      CheckCase{"$PBRCTR,*29", 2},
                      CheckCase{"$A,B,C*40", 3},
                      CheckCase{"$*00", 1}));

TEST(CheckNmeaSentenceTest, AcceptsHexDigitsOfEitherCase) {
  std::string lower = "$PBRANS,,1*2d";
  std::string upper = "$PBRANS,,1*2D";
  std::array<int, 4> offsets{};
  EXPECT_EQ(CheckNmeaSentence(lower, offsets), 3);
  EXPECT_EQ(CheckNmeaSentence(upper, offsets), 3);
}

TEST(CheckNmeaSentenceTest, SplitsInPlaceAndCountsFieldsBeyondTheOffsets) {
  std::string body = "$PBRSNP,COMPEO,John Doe,12345,1.22";
  FinishNmeaSentence(body);
  std::string line = body.substr(0, body.size() - 2);  // without CR LF
  std::array<int, 3> offsets{};
  ASSERT_EQ(CheckNmeaSentence(line, offsets), 5);
  EXPECT_EQ(NmeaField(line, offsets[0]), "$PBRSNP");
  EXPECT_EQ(NmeaField(line, offsets[1]), "COMPEO");
  EXPECT_EQ(NmeaField(line, offsets[2]), "John Doe");
}

TEST(CheckNmeaSentenceTest, EmptyFieldsKeepTheirPlaces) {
  std::string line = "$PBRANS,,1";
  FinishNmeaSentence(line);
  line.resize(line.size() - 2);
  std::array<int, 4> offsets{};
  ASSERT_EQ(CheckNmeaSentence(line, offsets), 3);
  EXPECT_EQ(NmeaField(line, offsets[1]), "");
  EXPECT_EQ(NmeaField(line, offsets[2]), "1");
}

struct FinishCase {
  std::string body;
  std::string sentence;
};

class FinishNmeaSentenceTest : public ::testing::TestWithParam<FinishCase> {};

TEST_P(FinishNmeaSentenceTest, AppendsUpperCaseChecksumAndCrLf) {
  std::string text = GetParam().body;
  FinishNmeaSentence(text);
  EXPECT_EQ(text, GetParam().sentence);
}

// The requests of the Flytec/Braeuniger protocol, as its description lists them.
INSTANTIATE_TEST_SUITE_P(Requests, FinishNmeaSentenceTest,
                         ::testing::Values(FinishCase{"$PBRSNP,", "$PBRSNP,*21\r\n"},
                                           FinishCase{"$PBRTL,", "$PBRTL,*74\r\n"},
                                           FinishCase{"$PBRIGC,", "$PBRIGC,*21\r\n"},
                                           FinishCase{"$PBRWPS,", "$PBRWPS,*38\r\n"},
                                           FinishCase{"$PBRCTR,", "$PBRCTR,*29\r\n"}));

TEST(NmeaChecksumTest, StopsAtTheStar) { EXPECT_EQ(NmeaChecksum("$PBRSNP,*99"), 0x21); }

}  // namespace
}  // namespace trelvik
