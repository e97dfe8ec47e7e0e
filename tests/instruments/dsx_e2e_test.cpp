// DSX end to end: the real job, the real serial link with its speed change
// and trelvik-sim on a pseudo-terminal; what the user gets and every command
// the recorder received.
#include <gtest/gtest.h>

#include <cstdio>

#include "access/field_form.hpp"
#include "instruments/flytec_e2e_support.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik {
namespace {

using testing::ReadWholeFile;
using testing::SimRun;

constexpr const char* kRealFlight = "sim/flights/pg-flytec6030-2008-3s.igc";

class FixedForm : public FieldFormAsker {
 public:
  explicit FixedForm(std::optional<FieldFormAnswer> answer) : answer_(std::move(answer)) {}
  std::optional<FieldFormAnswer> AskFields(const FieldFormQuestion& question) override {
    asked = question;
    return answer_;
  }
  std::optional<FieldFormQuestion> asked;

 private:
  std::optional<FieldFormAnswer> answer_;
};

class DsxEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (testing::SimProcess::BinaryPath().empty()) GTEST_SKIP() << "trelvik-sim not built";
  }
  static void Prepare(SimRun& run, int track) {
    run.family = "dsx";
    run.protocol = ProtocolType::Dsx;
    run.commandLine.trackList[0] = track;
  }
};

TEST_F(DsxEndToEnd, RealFlightWithItsRawImage) {
  SimRun run;
  Prepare(run, 0);
  ASSERT_TRUE(run.Start({"--igc=" + std::string(kRealFlight)}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  const std::string bytes = ReadWholeFile(kRealFlight);
  const IgcDecodeResult reference = DecodeIgc(bytes);
  ASSERT_TRUE(reference.Ok()) << reference.error;
  const TrackLog& log = run.log;
  ASSERT_EQ(log.points.size(), reference.points.size());
  for (size_t i = 0; i < log.points.size(); ++i) {
    ASSERT_EQ(log.points[i].time, reference.points[i].time) << i;
    ASSERT_NEAR(log.points[i].lat, reference.points[i].lat, 1) << i;
    ASSERT_EQ(log.points[i].baroAlt, reference.points[i].baroAlt) << i;
  }
  EXPECT_EQ(log.rawIgc, bytes + "ZZZZ\r\n");  // as the recorder sent it, from its prompt to the end mark
  EXPECT_EQ(log.rawIgcDate, log.points[0].time);
  EXPECT_EQ(log.source, TrackSource::Dsx);
  EXPECT_EQ(log.modelName, "DSX");
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(run.ReceivedAtLeast(18, std::chrono::seconds(2)), "V1\nV4\nFL\nF001\nV0\n");
}

TEST_F(DsxEndToEnd, HeadlessChoiceIsTheLatestFlight) {
  SimRun run;
  Prepare(run, -1);
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  ConsoleTrackListChooser chooser(sink, sink, stdin, false);
  run.UseTrackListChooser(chooser);
  ASSERT_TRUE(run.Start({"--flights=3", "--broken-conn=1"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  EXPECT_EQ(run.ReceivedAtLeast(18, std::chrono::seconds(2)), "V1\nV4\nFL\nF003\nV0\n");
  EXPECT_EQ(DateFromTrackTime(run.log.points[0].time).day, 13);
  std::fclose(sink);
}

TEST_F(DsxEndToEnd, FaultsOfTheRecorderReachTheUserAndTheConnectionIsClosed) {
  const std::string caption = "Read GPS track log";
  struct Case {
    std::vector<std::string> args;
    std::string text;
    std::string caption;
    std::string received;
  };
  const Case cases[] = {
      {{"--silence-after=0"}, "No valid response from GPS", "Opening connection to DSX", "V1\nV0\n"},
      {{"--bad-list=3"}, "E505 Format error 3", "Read GPS track list", "V1\nV4\nFL\nV0\n"},
      {{"--bad-list=4"}, "E505 Format error 4", "Read GPS track list", "V1\nV4\nFL\nV0\n"},
      {{"--bad-hfdte=1"}, "E206 Format error 5", caption, "V1\nV4\nFL\nF002\nV0\n"},
      {{"--no-hfdte=1"}, "E206 Format error 25", caption, "V1\nV4\nFL\nF002\nV0\n"},
      {{"--no-a=1"}, "Bad or missing A-record", caption, "V1\nV4\nFL\nF002\nV0\n"},
      {{"--hangup-after=3000"}, "E203 COM port read error", caption, "V1\nV4\nFL\nF002\n"},
  };
  for (const Case& c : cases) {
    SimRun run;
    Prepare(run, 0);
    ASSERT_TRUE(run.Start(c.args)) << c.text;
    EXPECT_EQ(run.Run(AccessFunction::DownloadTrackLog), -1) << c.text;
    EXPECT_EQ(run.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, c.text, c.caption}}))
        << c.text;
    EXPECT_EQ(run.ReceivedAtLeast(c.received.size(), std::chrono::seconds(2)), c.received) << c.text;
    EXPECT_TRUE(run.log.points.empty()) << c.text;
  }
}

TEST_F(DsxEndToEnd, AbortInTheMiddleOfTheFlightStillClosesTheConnection) {
  using namespace std::chrono_literals;
  SimRun run;
  Prepare(run, 0);
  ASSERT_TRUE(run.Start({"--igc=" + std::string(kRealFlight), "--baud=38400"}));
  ASSERT_TRUE(run.StartOnly(AccessFunction::DownloadTrackLog));
  ASSERT_TRUE(run.channel.WaitForProgress("Receiving track log", 10s));
  EXPECT_EQ(run.Abort(), 0);
  ASSERT_TRUE(run.WaitForEnd(5s));
  EXPECT_EQ(run.result.load(), -1);
  EXPECT_EQ(run.channel.Progress().back(), "Transfer aborted");
  EXPECT_TRUE(run.channel.Messages().empty());
  EXPECT_TRUE(run.log.points.empty());
  EXPECT_EQ(run.ReceivedAtLeast(18, 2s), "V1\nV4\nFL\nF001\nV0\n");
}

TEST_F(DsxEndToEnd, AListLineEndingAfterItsCountIsNotAFlight) {
  SimRun run;
  Prepare(run, 0);
  ASSERT_TRUE(run.Start({"--flights=2", "--bad-list=7"}));
  ASSERT_EQ(run.Run(AccessFunction::DownloadTrackLog), 1);
  const std::vector<std::string> progress = run.channel.Progress();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "1 tracks in track list found"), progress.end());
  EXPECT_EQ(run.ReceivedAtLeast(18, std::chrono::seconds(2)), "V1\nV4\nFL\nF001\nV0\n");
}

TEST_F(DsxEndToEnd, PilotDataWritesOnlyWhatChanged) {
  SimRun run;
  Prepare(run, -1);
  FixedForm form(FieldFormAnswer{{"Sim Pilot", "7", "", "Ozone Rush", "Sponsor AG", "+41 79 123"}, 1});
  run.UseFieldFormAsker(form);
  ASSERT_TRUE(run.Start({"--items=Sim Pilot|42|1234|Ozone Rush|"}));
  ASSERT_EQ(run.Run(AccessFunction::UploadPilotName), 0);
  ASSERT_TRUE(form.asked.has_value());
  EXPECT_EQ(form.asked->values, (std::vector<std::string>{"Sim Pilot", "42", "1234", "Ozone Rush", "", ""}));
  const std::string received = "V1\nV4\nE1\nE2\nE3\nE4\nE5\nH27\nH5Sponsor AG\nC1+41 79 123\nV0\n";
  EXPECT_EQ(run.ReceivedAtLeast(received.size(), std::chrono::seconds(2)), received);
  EXPECT_EQ(run.channel.Progress().back(), "Data sent");
  EXPECT_TRUE(run.channel.Messages().empty());
}

TEST_F(DsxEndToEnd, PilotDataCancelledSendsNothing) {
  SimRun run;
  Prepare(run, -1);
  FixedForm form(std::nullopt);
  run.UseFieldFormAsker(form);
  ASSERT_TRUE(run.Start({}));
  EXPECT_EQ(run.Run(AccessFunction::UploadPilotName), -1);
  const std::string received = "V1\nV4\nE1\nE2\nE3\nE4\nE5\nV0\n";
  EXPECT_EQ(run.ReceivedAtLeast(received.size(), std::chrono::seconds(2)), received);
  EXPECT_EQ(run.channel.Progress().back(), "");
}

}  // namespace
}  // namespace trelvik
