#pragma once
// XC Trainer and TopNav end to end: these instruments send their logs on
// their own once the user starts the transfer, so the simulator waits a
// little before it sends, and records the line setup the program made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instruments/flytec_e2e_support.hpp"

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
};

}  // namespace trelvik::testing
