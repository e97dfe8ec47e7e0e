#pragma once
// XC Trainer and TopNav end to end: these instruments send their logs on
// their own once the user starts the transfer, so the simulator waits a
// little before it sends, and records the line setup the program made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/atomic_file.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/topnav_track.hpp"

namespace trelvik::testing {

class SelfSendingEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  // The simulator's clock runs in real time; the program's waits pass five times faster.
  static bool StartSim(SimRun& run, const char* family, ProtocolType protocol, std::vector<std::string> args) {
    run.family = family;
    run.protocol = protocol;
    run.commandLine.timeout = 10;
    run.channel.SetSpeed(5);
    args.push_back("--send-after=200");
    args.push_back("--record-setup=" + run.recordPath + ".setup");
    return run.Start(args);
  }
  // The line setups the program made, one line each.
  static std::string Setups(const SimRun& run) { return ReadWholeFile(run.recordPath + ".setup"); }

  // "Save log As" TopNavigator writes the instrument's own log; read back
  // with the same UTC offset, it gives the downloaded positions and altitudes.
  static void ExpectTopNavFileReadsBack(const TrackLog& log, int32_t utcOffset) {
    TempDir dir;
    const std::string tnc = dir.File("flight.tnc");
    ASSERT_FALSE(WriteFileAtomically(tnc, log.rawLog));
    const TrackFileRead back = ReadTopNavTrack(ReadWholeFile(tnc), utcOffset);
    ASSERT_TRUE(back.Ok()) << back.error.text;
    EXPECT_EQ(back.records.hasPressureAltitude, log.hasPressureAltitude);
    ASSERT_EQ(back.records.points.size(), log.points.size());
    for (size_t i = 0; i < log.points.size(); ++i) {
      EXPECT_EQ(back.records.points[i].time, log.points[i].time) << i;
      EXPECT_EQ(back.records.points[i].lat, log.points[i].lat) << i;
      EXPECT_EQ(back.records.points[i].baroAlt, log.points[i].baroAlt) << i;
      EXPECT_EQ(back.records.points[i].gpsAlt, log.points[i].gpsAlt) << i;
    }
  }
};

}  // namespace trelvik::testing
