// The checks that tie the job to the instrument, against the lists of
// instruments each job is offered for, and the protocols the batch run starts.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <set>

#include "automation/command_line_instruments.hpp"
#include "command_line_test_support.hpp"
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

struct JobCase {
  std::string option;
  std::set<std::string> allowed;
  std::string refusal;
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
      {"/RD_WPT=a.wpt", waypointDownload, "Unsupported GPS for waypoint download"},
      {"/RD_GEO_WPT=a.wpt", waypointDownload, "Unsupported GPS for waypoint download"},
      {"/WR_WPT=a.wpt", waypointUpload, "Unsupported GPS for track log upload"},
      {"/WR_WPT2=a.wpt", waypointUpload, "Unsupported GPS for track log upload"},
      {"/WR_CTR=a.txt", {"GARMIN", "IQCOMPEO"}, "Unsupported GPS for CTR upload"},
      {"/USERNAME=Anna", {"FLYMASTER"}, "Unsupported GPS for username upload"},
      {"/FLIGHTLIST /NOTIFY=" + notify.Path(),
       {"IQCOMPEO", "FLYMASTER", "IQBASIC", "LEONARDO"},
       "Unsupported GPS for flightlist download"},
      {"/LOGFILE=a.igc", std::set<std::string>(kAllNames.begin(), kAllNames.end()), ""},
      {"/CHKKML=a.kml", std::set<std::string>(kAllNames.begin(), kAllNames.end()), ""},
  };
  for (const JobCase& c : cases) {
    for (const std::string& name : kAllNames) {
      const std::string line = "/GPS=" + name + " " + c.option;
      const Parsed parsed = Parse(line);
      if (c.allowed.contains(name)) {
        EXPECT_EQ(parsed.rc, 0) << line;
        EXPECT_TRUE(parsed.boxes.empty()) << line;
      } else {
        EXPECT_EQ(parsed.rc, -1) << line;
        ASSERT_EQ(parsed.boxes.size(), 1u) << line;
        EXPECT_EQ(parsed.boxes[0], ParsingError(c.refusal)) << line;
      }
    }
  }
}

TEST(CommandLineChecks, UsbCarriesOnlyGarminJobs) {
  const std::string usbJobs[] = {"/KML_LOG=a", "/OZI_LOG=a",    "/MPS_LOG=a", "/COMP_LOG=KML", "/IGC_LOG=a/",
                                 "/RD_WPT=a",  "/RD_GEO_WPT=a", "/WR_WPT=a",  "/WR_WPT2=a",    "/WR_CTR=a"};
  for (const std::string& job : usbJobs) {
    EXPECT_EQ(Parse("/USB " + job).rc, 0) << job;
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

TEST(CommandLineChecks, BatchRunProtocols) {
  struct Case {
    std::string line;
    bool supported;
    ProtocolType protocol;
    int32_t option;
  };
  const Case cases[] = {
      {"/KML_LOG=a", true, ProtocolType::GarminSerial, 0},
      {"/KML_LOG=a /USB", true, ProtocolType::GarminUsb, 0},
      {"/WR_CTR=a /USB", true, ProtocolType::GarminUsb, 0},
      {"/IGC_LOG=a/ /GPS=LOGIT", true, ProtocolType::LogIt, 57600},
      {"/KML_LOG=a /GPS=XCT_MXP", true, ProtocolType::XcTrainerMxp, 57600},
      {"/KML_LOG=a /GPS=IQCOMPEO", true, ProtocolType::Flytec, 0},
      {"/RD_WPT=a /GPS=MLRC", true, ProtocolType::MlrFast, 0},
      {"/RD_WPT=a /GPS=LEONARDO", true, ProtocolType::Leonardo, 1},
      {"/WR_WPT=a /GPS=LEONARDO", true, ProtocolType::Leonardo, 1},
      {"/KML_LOG=a /GPS=LEONARDO", true, ProtocolType::Leonardo, 0},
      {"/KML_LOG=a /GPS=MTK", true, ProtocolType::MtkLogger, 0},
      {"/KML_LOG=a /GPS=IQBASIC", true, ProtocolType::IqBasic, 0},
      {"/USERNAME=Anna /GPS=FLYMASTER", true, ProtocolType::Flymaster, 0},
      {"/LOGFILE=a.igc", false, ProtocolType::GarminSerial, 0},
  };
  for (const Case& c : cases) {
    const Parsed parsed = Parse(c.line);
    ASSERT_TRUE(parsed.result.job) << c.line;
    const std::optional<JobProtocol> protocol = ProtocolForJob(*parsed.result.job);
    ASSERT_EQ(protocol.has_value(), c.supported) << c.line;
    if (protocol) {
      EXPECT_EQ(protocol->protocol, c.protocol) << c.line;
      EXPECT_EQ(protocol->option, c.option) << c.line;
    }
  }
}

TEST(CommandLineChecks, GpsNamesAreWholeWordsInAnyCase) {
  for (size_t i = 0; i < kAllNames.size(); ++i) {
    std::string lower = kAllNames[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Parsed parsed = Parse("/GPS=" + lower);
    ASSERT_TRUE(parsed.result.job) << lower;
    EXPECT_EQ(parsed.result.job->gpsType, static_cast<GpsType>(i));
  }
  EXPECT_EQ(Parse("/GPS=FLY").boxes.size(), 1u);
  EXPECT_EQ(Parse("/GPS=FLYMASTERS").boxes.size(), 1u);
}

}  // namespace
}  // namespace trelvik
