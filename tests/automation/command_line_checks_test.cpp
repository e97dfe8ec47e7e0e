// The checks that tie the job to the instrument, against the lists of
// instruments each job is offered for, and the protocols the batch run starts.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <set>

#include "automation/command_line_instruments.hpp"
#include "command_line_test_support.hpp"
#include "instruments/protocol_table.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::Parse;
using testing::Parsed;
using testing::ParsingError;

const std::vector<std::string> kAllNames = {"GARMIN",   "MLR",      "TOPNAV",    "LOGIT",   "IQCOMPEO",
                                            "GRAVITER", "MAGELLAN", "XCTRAINER", "XCT_MXP", "FLYMASTER",
                                            "DSX",      "MLRC",     "IQBASIC",   "MTK",     "LEONARDO"};

// A bound datagram socket for the notify target, removed with its folder.
class BoundSocket {
 public:
  BoundSocket() : path_(dir_.File("notify.sock")) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path_.copy(address.sun_path, sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~BoundSocket() { ::close(fd_); }
  const std::string& Path() const { return path_; }
  bool Bound() const { return bound_; }

 private:
  testing::TempDir dir_;
  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
};

constexpr std::string_view kNotBuilt = "This instrument is not available in this version";

// Whether this version has the driver for the job's operation on the instrument.
bool Built(const std::string& name, AccessFunction function) {
  const ProtocolRow* row = CommandLineRowNamed(name);
  return row != nullptr && RowRuns(*row, function);
}

struct JobCase {
  std::string option;
  std::set<std::string> allowed;
  std::string refusal;
  AccessFunction function = AccessFunction::DownloadTrackLog;
};

TEST(CommandLineChecks, EachJobRunsOnTheInstrumentsOfferedForIt) {
  BoundSocket notify;
  ASSERT_TRUE(notify.Bound());
  const std::set<std::string> allButMlrc = {"GARMIN",   "MLR",      "TOPNAV",    "LOGIT",   "IQCOMPEO",
                                            "GRAVITER", "MAGELLAN", "XCTRAINER", "XCT_MXP", "FLYMASTER",
                                            "DSX",      "IQBASIC",  "MTK",       "LEONARDO"};
  const std::set<std::string> igc = {"GARMIN",  "MLR",       "LOGIT", "IQCOMPEO", "MAGELLAN", "XCTRAINER",
                                     "XCT_MXP", "FLYMASTER", "DSX",   "IQBASIC",  "MTK",      "LEONARDO"};
  const std::set<std::string> waypointDownload = {"GARMIN", "MLR",     "IQCOMPEO", "FLYMASTER",
                                                  "MLRC",   "IQBASIC", "LEONARDO"};
  const std::set<std::string> waypointUpload = {"GARMIN",    "MLR",       "TOPNAV",  "IQCOMPEO", "MAGELLAN",
                                                "XCTRAINER", "FLYMASTER", "IQBASIC", "LEONARDO"};
  const JobCase cases[] = {
      {"/KML_LOG=a.kml", allButMlrc, "Unsupported GPS for track log download"},
      {"/OZI_LOG=a.plt", allButMlrc, "Unsupported GPS for track log download"},
      {"/MPS_LOG=a.mps", allButMlrc, "Unsupported GPS for track log download"},
      {"/COMP_LOG=IGC", allButMlrc, "Unsupported GPS for track log download"},
      {"/IGC_LOG=out/", igc, "Unsupported GPS for IGC track log download"},
      {"/RD_WPT=a.wpt", waypointDownload, "Unsupported GPS for waypoint download", AccessFunction::DownloadWaypoints},
      {"/RD_GEO_WPT=a.wpt", waypointDownload, "Unsupported GPS for waypoint download",
       AccessFunction::DownloadWaypoints},
      {"/WR_WPT=a.wpt", waypointUpload, "Unsupported GPS for track log upload", AccessFunction::UploadWaypoints},
      {"/WR_WPT2=a.wpt", waypointUpload, "Unsupported GPS for track log upload", AccessFunction::UploadWaypoints},
      {"/WR_CTR=a.txt", {"GARMIN", "IQCOMPEO"}, "Unsupported GPS for CTR upload", AccessFunction::UploadCtr},
      {"/USERNAME=Anna", {"FLYMASTER"}, "Unsupported GPS for username upload", AccessFunction::UploadPilotName},
      {"/FLIGHTLIST /NOTIFY=" + notify.Path(),
       {"IQCOMPEO", "FLYMASTER", "IQBASIC", "LEONARDO"},
       "Unsupported GPS for flightlist download",
       AccessFunction::DownloadFlightList},
  };
  for (const JobCase& c : cases) {
    for (const std::string& name : kAllNames) {
      const std::string line = "/GPS=" + name + " " + c.option;
      const Parsed parsed = Parse(line);
      if (c.allowed.contains(name) && Built(name, c.function)) {
        EXPECT_EQ(parsed.rc, 0) << line;
        EXPECT_TRUE(parsed.boxes.empty()) << line;
      } else {
        EXPECT_EQ(parsed.rc, -1) << line;
        ASSERT_EQ(parsed.boxes.size(), 1u) << line;
        EXPECT_EQ(parsed.boxes[0], ParsingError(c.allowed.contains(name) ? kNotBuilt : c.refusal)) << line;
      }
    }
  }
}

TEST(CommandLineChecks, JobsWithoutAnInstrumentRunWithAnyGpsName) {
  for (const std::string_view option : {"/LOGFILE=a.igc", "/CHKKML=a.kml"}) {
    for (const std::string& name : kAllNames) {
      const Parsed parsed = Parse("/GPS=" + name + " " + std::string(option));
      EXPECT_EQ(parsed.rc, 0) << name << " " << option;
      EXPECT_TRUE(parsed.boxes.empty()) << name << " " << option;
    }
  }
}

TEST(CommandLineChecks, UsbCarriesOnlyGarminJobs) {
  const std::string usbJobs[] = {"/KML_LOG=a", "/OZI_LOG=a",    "/MPS_LOG=a", "/COMP_LOG=KML", "/IGC_LOG=a/",
                                 "/RD_WPT=a",  "/RD_GEO_WPT=a", "/WR_WPT=a",  "/WR_WPT2=a",    "/WR_CTR=a"};
  const bool usbBuilt = RowRuns(ProtocolRowOf(ProtocolType::GarminUsb), AccessFunction::DownloadTrackLog);
  for (const std::string& job : usbJobs) {
    if (usbBuilt) {
      EXPECT_EQ(Parse("/USB " + job).rc, 0) << job;
    }
    for (const char* name : {"MLR", "IQCOMPEO", "FLYMASTER"}) {
      const Parsed parsed = Parse(std::string("/USB /GPS=") + name + " " + job);
      ASSERT_EQ(parsed.boxes.size(), 1u) << job << " " << name;
      EXPECT_EQ(parsed.boxes[0], ParsingError("USB is not supported"));
    }
  }
}

TEST(CommandLineChecks, FlightListNeedsANotifyTarget) {
  for (std::string_view line : {"/FLIGHTLIST /GPS=FLYMASTER", "/FLIGHTLIST /GPS=IQBASIC /NOTIFY=/nonexistent/notify"}) {
    const Parsed parsed = Parse(line);
    EXPECT_EQ(parsed.rc, -1);
    ASSERT_EQ(parsed.boxes.size(), 1u);
    EXPECT_EQ(parsed.boxes[0], ParsingError("Missing notify window for flightlist download"));
  }
}

TEST(CommandLineChecks, WrCtrWithMlrIsRefused) {
  const Parsed parsed = Parse("/WR_CTR=alps.txt /GPS=MLR");
  ASSERT_EQ(parsed.boxes.size(), 1u);
  EXPECT_EQ(parsed.boxes[0], ParsingError("Unsupported GPS for CTR upload"));
}

// The protocol the batch run starts for each job, whether or not its driver is
// built yet; a driver not built refuses the line while parsing.
TEST(CommandLineChecks, BatchRunProtocols) {
  struct Case {
    GpsType type;
    JobKind kind;
    bool usb;
    std::optional<ProtocolType> protocol;
    int32_t option;
  };
  using G = GpsType;
  using J = JobKind;
  using P = ProtocolType;
  const Case cases[] = {
      {G::Garmin, J::KmlLog, false, P::GarminSerial, 0},
      {G::Garmin, J::KmlLog, true, P::GarminUsb, 0},
      {G::Garmin, J::WriteCtr, true, P::GarminUsb, 0},
      {G::LogIt, J::IgcLog, false, P::LogIt, 57600},
      {G::XctMxp, J::KmlLog, false, P::XcTrainerMxp, 57600},
      {G::IqCompeo, J::KmlLog, false, P::Flytec, 0},
      {G::Mlrc, J::ReadWaypoints, false, P::MlrFast, 0},
      {G::Leonardo, J::ReadWaypoints, false, P::Leonardo, 1},
      {G::Leonardo, J::WriteWaypoints, false, P::Leonardo, 1},
      {G::Leonardo, J::KmlLog, false, P::Leonardo, 0},
      {G::Mtk, J::KmlLog, false, P::MtkLogger, 0},
      {G::IqBasic, J::KmlLog, false, P::IqBasic, 0},
      {G::Flymaster, J::Username, false, P::Flymaster, 0},
      {G::Garmin, J::LogFile, false, std::nullopt, 0},
      {G::Mlrc, J::KmlLog, false, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    CommandLineJob job;
    job.gpsType = c.type;
    job.jobKind = c.kind;
    job.useUsb = c.usb ? 1 : 0;
    const std::optional<JobProtocol> protocol = ProtocolForJob(job);
    const auto label = ::testing::Message() << static_cast<int>(c.type) << "/" << static_cast<int>(c.kind);
    ASSERT_EQ(protocol.has_value(), c.protocol.has_value()) << label;
    if (!protocol) continue;
    EXPECT_EQ(protocol->protocol, *c.protocol) << label;
    EXPECT_EQ(protocol->option, c.option) << label;
  }
}

TEST(CommandLineChecks, GpsNamesAreWholeWordsInAnyCase) {
  for (size_t i = 0; i < kAllNames.size(); ++i) {
    std::string lower = kAllNames[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Parsed parsed = Parse("/GPS=" + lower + " /LOGFILE=a.igc");
    ASSERT_TRUE(parsed.result.job) << lower;
    EXPECT_EQ(parsed.result.job->gpsType, static_cast<GpsType>(i));
  }
  EXPECT_EQ(Parse("/GPS=FLY").boxes.size(), 1u);
  EXPECT_EQ(Parse("/GPS=FLYMASTERS").boxes.size(), 1u);
}

}  // namespace
}  // namespace trelvik
