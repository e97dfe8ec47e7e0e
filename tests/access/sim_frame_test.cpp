// The simulator's own parts, in process.
#include <gtest/gtest.h>

#include "fault_injector.hpp"
#include "sim_command_line.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

struct FaultCase {
  const char* name;
  FaultPlan plan;
  std::string expected;
  bool hangUp;
};

class FaultInjectorTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultInjectorTest, ShapesWhatTheInstrumentSends) {
  FaultInjector faults(GetParam().plan);
  // Fed in pieces, as an instrument answers request by request.
  std::string out = faults.Filter("L1\nL2\n");
  out += faults.Filter("L3\nL4\n");
  EXPECT_EQ(out, GetParam().expected) << GetParam().name;
  EXPECT_EQ(faults.HangUpDue(), GetParam().hangUp) << GetParam().name;
}

FaultPlan Plan(int64_t silence, int64_t garbage, int64_t drop, int64_t hangup, int64_t corrupt = -1) {
  FaultPlan plan;
  plan.corruptAfter = corrupt;
  plan.silenceAfter = silence;
  plan.garbageAfter = garbage;
  plan.garbageCount = 3;
  plan.dropLine = drop;
  plan.hangupAfter = hangup;
  return plan;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FaultInjectorTest,
    ::testing::Values(FaultCase{"no fault", Plan(-1, -1, 0, -1), "L1\nL2\nL3\nL4\n", false},
                      FaultCase{"silence", Plan(7, -1, 0, -1), "L1\nL2\nL", false},
                      FaultCase{"garbage", Plan(-1, 3, 0, -1), std::string("L1\n\xFF\x00\xA5L2\nL3\nL4\n", 15), false},
                      FaultCase{"dropped line", Plan(-1, -1, 3, -1), "L1\nL2\nL4\n", false},
                      FaultCase{"hang-up", Plan(-1, -1, 0, 4), "L1\nL", true},
                      FaultCase{"corrupt byte", Plan(-1, -1, 0, -1, 4), "L1\nL\xCD\nL3\nL4\n", false},
                      FaultCase{"corrupt byte of the second piece", Plan(-1, -1, 0, -1, 6),
                                "L1\nL2\n\xB3" "3\nL4\n", false},
                      FaultCase{"hang-up at a piece's end", Plan(-1, -1, 0, 6), "L1\nL2\n", true}));

TEST(SimNmeaTest, SentencesCarryTheirChecksum) {
  EXPECT_EQ(Sentence("PBRSNP,"), "$PBRSNP,*21\r\n");
  std::string body;
  EXPECT_TRUE(ParseSentence("$PBRTL,*74", body));
  EXPECT_EQ(body, "PBRTL,");
  EXPECT_FALSE(ParseSentence("$PBRTL,*75", body));
  EXPECT_FALSE(ParseSentence("PBRTL,*74", body));
}

TEST(SimPluginTest, NmeaInstrumentAnswersEverySentence) {
  std::string error;
  std::unique_ptr<SimInstrument> instrument = FindSimPlugin("nmea")->create({}, error);
  std::string reply;
  instrument->Receive("\x11$PBRSNP,*21\r", reply);
  const std::string query = Sentence("PTRVQ,2");
  instrument->Receive("\n$PBRSNP,*22\r\n" + query.substr(0, 8), reply);
  instrument->Receive(query.substr(8), reply);
  EXPECT_EQ(reply, Sentence("PTRVA,PBRSNP") + Sentence("PTRVE,BADSUM") + Sentence("PTRVD,1") + Sentence("PTRVD,2"));
}

TEST(SimCommandLineTest, FaultOptionsAndPluginNames) {
  SimCommandLine line;
  std::string error;
  ASSERT_TRUE(ParseSimCommandLine({"echo", "--hangup-after=10", "--drop-line=2", "--corrupt-after=7", "--baud=57600"},
                                  line, error));
  EXPECT_EQ(line.protocol, "echo");
  EXPECT_EQ(line.faults.hangupAfter, 10);
  EXPECT_EQ(line.faults.dropLine, 2);
  EXPECT_EQ(line.faults.corruptAfter, 7);
  EXPECT_EQ(line.baud, 57600);
}

struct BadLineCase {
  std::vector<std::string> args;
  std::string error;
};

class SimCommandLineErrorTest : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(SimCommandLineErrorTest, NamesTheFault) {
  SimCommandLine line;
  std::string error;
  EXPECT_FALSE(ParseSimCommandLine(GetParam().args, line, error));
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimCommandLineErrorTest,
    ::testing::Values(BadLineCase{{}, "no instrument named"},
                      BadLineCase{{"nosuch"}, "unknown instrument: nosuch"},
                      BadLineCase{{"echo", "--silence-after=x"}, "not a count: --silence-after=x"},
                      BadLineCase{{"echo", "--corrupt-after=-1"}, "not a count: --corrupt-after=-1"},
                      BadLineCase{{"echo", "--hangup-after"}, "option without a value: --hangup-after"},
                      BadLineCase{{"echo", "--speed=3"}, "unknown option for echo: --speed"},
                      BadLineCase{{"echo", "nmea"}, "more than one instrument named: nmea"}));

}  // namespace
}  // namespace trelvik::sim
