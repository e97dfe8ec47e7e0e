// The Garmin serial cells over a scripted link: the exact packets each
// operation sends, what the user sees for each answer of the unit, and the
// abort command after the errors that need one (the fault sweeps are a file
// of their own).
#include <gtest/gtest.h>

#include "airspace/ctr_area.hpp"
#include "airspace/ctr_points.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/serial_packet_link.hpp"
#include "instruments/garmin_fixtures.hpp"

namespace trelvik::garmin {
namespace {

using testing::AckFrame;
using testing::Bytes;
using testing::CommandFrame;
using testing::CompleteFrame;
using testing::Frame;
using testing::GarminJob;
using testing::kRequest;
using testing::Le16;
using testing::Le32;
using testing::LeFloat;
using testing::ProductFrame;
using testing::RecordsFrame;

const std::string kAbort = CommandFrame(0);

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::vector<RecordedMessage> Error(const std::string& text, const std::string& caption) {
  return {{MessageKind::Error, text, caption}};
}

// A D108 waypoint record.
std::string D108(const std::string& name, const std::string& comment, float alt, int32_t lat, int32_t lon) {
  return Bytes({0, 0xFF, 0, 0x60}) + Le16(18) + std::string(18, '\xFF') + Le32(static_cast<uint32_t>(lat)) +
         Le32(static_cast<uint32_t>(lon)) + LeFloat(alt) + LeFloat(1e25f) + LeFloat(0) + "    " + name + '\0' +
         comment + '\0' + std::string(4, '\0');
}

// A D301 track point.
std::string D301(int32_t lat, int32_t lon, uint32_t time, float alt, bool newTrack) {
  return Le32(static_cast<uint32_t>(lat)) + Le32(static_cast<uint32_t>(lon)) + Le32(time) + LeFloat(alt) +
         LeFloat(1e25f) + Bytes({newTrack ? 1 : 0});
}

// The product data step alone: 0 or -1, with the session's protocols.
int ProductStep(GarminJob& s, GarminProtocolSet* protocols = nullptr) {
  SerialPacketLink link(s.job);
  Session session{s.job, link};
  const int rc = RequestProductData(session);
  if (protocols != nullptr) *protocols = session.protocols;
  return rc;
}

// ---- product data and capabilities ---------------------------------------

TEST(GarminProductData, IdentifiesTheUnitAndReadsItsCapabilities) {
  GarminJob s;
  s.script->Expect(kRequest).Answer(AckFrame(254) + ProductFrame(130, 280, "eTrex Legend Software Version 2.80"));
  s.script->Expect(AckFrame(255)).Answer(Frame(51, std::string(64, '\0')));  // a PVT packet first
  s.script->Expect(AckFrame(51)).Answer(Frame(253, testing::ArrayData(testing::kEtrexArray))).Expect(AckFrame(253));
  GarminProtocolSet protocols;
  ASSERT_EQ(ProductStep(s, &protocols), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(protocols.productId, 130);
  EXPECT_EQ(protocols.lowVersion, 280);
  EXPECT_EQ(protocols.highVersion, 280);
  EXPECT_EQ(protocols.waypointType, 108);
  EXPECT_EQ(protocols.trackTransfer, 301);
  EXPECT_EQ(s.job.modelName, "Garmin");
  EXPECT_EQ(s.job.description, "eTrex Legend Software Version 2.80");
  EXPECT_EQ(s.job.identity, "Garmin: eTrex Legend Software Version 2.80");
  EXPECT_EQ(s.channel.Products(), (std::vector<std::string>{"", "eTrex Legend Software Version 2.80"}));
  EXPECT_EQ(s.channel.Progress(), (std::vector<std::string>{"Requesting product info (1)", "Product data read"}));
  EXPECT_EQ(s.script->LastSetup().baud, 9600);
  EXPECT_FALSE(s.script->LastSetup().xonXoff);
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(GarminProductData, LongDescriptionsAreCut) {
  GarminJob s;
  s.Handshake(testing::kEtrexArray, 130, 280, std::string(120, 'D'));
  ASSERT_EQ(ProductStep(s), 0);
  EXPECT_EQ(s.job.description, std::string(80, 'D'));
  EXPECT_EQ(s.job.identity, "Garmin: " + std::string(42, 'D'));
}

TEST(GarminProductData, UnitWithoutArrayGetsTheBuiltInRowAfterFiveSeconds) {
  struct Case {
    int version;
    int waypointType;
  };
  for (const Case c : {Case{355, 103}, Case{300, 100}}) {
    GarminJob s;
    s.script->Expect(kRequest).Answer(ProductFrame(77, c.version, "GPS 12XL")).Expect(AckFrame(255));
    const uint32_t before = s.clock.Now();
    GarminProtocolSet protocols;
    ASSERT_EQ(ProductStep(s, &protocols), 0) << c.version;
    EXPECT_GE(s.clock.Now() - before, 5000u);
    EXPECT_LT(s.clock.Now() - before, 5400u);
    EXPECT_EQ(protocols.waypointType, c.waypointType);
    EXPECT_EQ(protocols.trackTransfer, 300);
    EXPECT_EQ(protocols.trackPointType, 300);
    EXPECT_EQ(protocols.productId, 77);
  }
}

TEST(GarminProductData, FaultsAndTheirMessages) {
  struct Case {
    const char* name;
    std::function<void(GarminJob&)> script;
    std::vector<RecordedMessage> messages;
  };
  const char* request = "Requesting GPS product data";
  const Case cases[] = {
      {"silence", [](GarminJob& s) { s.script->Expect(kRequest); },
       Error("No valid response from GPS", "Get GPS product data")},
      {"four bytes of product data are not enough",
       [](GarminJob& s) { s.script->Expect(kRequest).Answer(Frame(255, Le16(77) + Le16(300))); },
       Error("No valid response from GPS", "Get GPS product data")},
      {"hang-up", [](GarminJob& s) { s.script->Expect(kRequest).HangUp(); }, Error("COM port read error", request)},
      {"unknown unit without array",
       [](GarminJob& s) { s.script->Expect(kRequest).Answer(ProductFrame(999, 100, "X")).Expect(AckFrame(255)); },
       Error("GPS product ID not supported", request)},
      {"hang-up while waiting for the array",
       [](GarminJob& s) { s.script->Expect(kRequest).Answer(ProductFrame(1, 1, "X")).Expect(AckFrame(255)).HangUp(); },
       Error("COM port error while waiting for protocol capability packet", request)},
      {"ten-byte array",
       [](GarminJob& s) {
         s.script->Expect(kRequest).Answer(ProductFrame(1, 1, "X")).Expect(AckFrame(255));
         s.script->Answer(Frame(253, testing::ArrayData("L001,A010,A100") + "x"));
       },
       Error("Bad protocol data packet", request)},
      {"bad tag",
       [](GarminJob& s) {
         s.script->Expect(kRequest).Answer(ProductFrame(1, 1, "X")).Expect(AckFrame(255));
         s.script->Answer(Frame(253, testing::ArrayData("L001,X010")));
       },
       Error("Bad protocol tag character", request)},
      {"link", [](GarminJob& s) { s.Handshake("L002,A011,A100,D150"); },
       Error("E180 Unsupported link protocol", "Read GPS product data")},
      {"waypoint type", [](GarminJob& s) { s.Handshake("L001,A010,A100,D105"); },
       Error("E183 Unsupported waypoint data type", "Read GPS product data")},
      {"track type", [](GarminJob& s) { s.Handshake("L001,A010,A100,D108,A301,D310,D305"); },
       Error("E185 Unsupported track log data type", "Read GPS product data")},
  };
  for (const Case& c : cases) {
    GarminJob s;
    s.commandLine.timeout = 4;  // two tries
    c.script(s);
    EXPECT_EQ(ProductStep(s), -1) << c.name;
    EXPECT_EQ(s.channel.Messages(), c.messages) << c.name;
    EXPECT_FALSE(s.script->Mismatch()) << c.name << s.script->MismatchReport();
  }
}

TEST(GarminProductData, RequestIsRepeatedAndCountsDown) {
  GarminJob s;
  s.commandLine.timeout = 6;
  s.script->Expect(kRequest).Answer(Frame(255, Le16(77))).Expect(kRequest);
  s.script->Answer(ProductFrame(77, 300, "GPS")).Expect(AckFrame(255));
  s.script->Answer(Frame(253, testing::ArrayData("L001,A010"))).Expect(AckFrame(253));
  ASSERT_EQ(ProductStep(s), 0);
  EXPECT_EQ(s.channel.Progress(), (std::vector<std::string>{"Requesting product info (3)",
                                                            "Requesting product info (2)", "Product data read"}));
}

TEST(GarminProductData, AbortBeforeTheRequest) {
  GarminJob s;
  s.job.abort = true;
  EXPECT_EQ(ProductStep(s), -1);
  EXPECT_TRUE(s.channel.Messages().empty());
  EXPECT_TRUE(Shown(s.channel.Progress(), "Transfer aborted"));
  EXPECT_EQ(s.script->Written(), "");
}

// ---- waypoint download -----------------------------------------------------

constexpr int32_t kLat = 554766000;
constexpr int32_t kLon = 97000000;

void WaypointDownload(GarminJob& s, const std::vector<std::string>& records) {
  s.Handshake();
  s.script->Expect(CommandFrame(7)).Answer(AckFrame(10)).Answer(RecordsFrame(static_cast<int>(records.size())));
  s.script->Expect(AckFrame(27));
  for (const std::string& r : records) s.script->Answer(Frame(35, r)).Expect(AckFrame(35));
  s.script->Answer(CompleteFrame(7)).Expect(AckFrame(12));
}

TEST(GarminWaypointDownload, StoresEveryWaypoint) {
  GarminJob s;
  std::vector<std::string> records;
  for (int i = 0; i < 6; ++i) records.push_back(D108("wp" + std::to_string(i), "comment", 100.0f + i, kLat + i, kLon));
  WaypointDownload(s, records);
  ASSERT_EQ(SerialDownloadWaypoints(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  ASSERT_EQ(s.job.waypoints.size(), 6u);
  EXPECT_STREQ(s.job.waypoints[5].name, "WP5");
  EXPECT_STREQ(s.job.waypoints[5].description, "COMMENT");
  EXPECT_EQ(s.job.waypoints[5].alt, 105);
  EXPECT_EQ(s.job.waypoints[5].lat, kLat + 5);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Requesting waypoint download"));
  EXPECT_TRUE(Shown(progress, "Waypoint 5 of 6 received"));
  EXPECT_FALSE(Shown(progress, "Waypoint 6 of 6 received"));
  EXPECT_EQ(progress.back(), "6 of 6 waypoints read (0.000 secs)");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(GarminWaypointDownload, NoWaypointProtocolSendsNothingMore) {
  GarminJob s;
  s.Handshake("L001,A010,A301,D310,D301");
  EXPECT_EQ(SerialDownloadWaypoints(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), Error("E310 No waypoint log protocol defined", "Read GPS waypoints"));
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch());
}

TEST(GarminWaypointDownload, ErrorsAndTheAbortAfterThem) {
  const char* caption = "Read GPS waypoints";
  std::string wrongType = D108("A", "B", 0, 0, 0);  // a D108 record where a D109 belongs: type byte 0
  struct Case {
    const char* name;
    std::string array;
    std::function<void(GarminJob&)> answers;
    std::string text;
  };
  const Case cases[] = {
      {"no ack", testing::kEtrexArray, [](GarminJob& s) { s.script->Expect(CommandFrame(7)); },
       "E300 Timeout while waiting for ack. packet"},
      {"wrong ack", testing::kEtrexArray, [](GarminJob& s) { s.script->Expect(CommandFrame(7)).Answer(AckFrame(11)); },
       "E301 Bad acknowledge packet type or format"},
      {"no count", testing::kEtrexArray, [](GarminJob& s) { s.script->Expect(CommandFrame(7)).Answer(AckFrame(10)); },
       "E302 Timeout while waiting for record count packet"},
      {"bad count", testing::kEtrexArray,
       [](GarminJob& s) { s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + Frame(27, Bytes({1}))); },
       "E303 Bad record count packet"},
      {"no record", testing::kEtrexArray,
       [](GarminJob& s) {
         s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(1)).Expect(AckFrame(27));
       },
       "E305 Timeout while waiting for wpt. data packet"},
      {"short record", testing::kEtrexArray,
       [](GarminJob& s) {
         s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(1)).Expect(AckFrame(27));
         s.script->Answer(Frame(35, std::string(47, 'x')));
       },
       "E306 Bad waypoint data packet"},
      {"D109 without its type byte", "L001,A010,A100,D109",
       [wrongType](GarminJob& s) {
         s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(1)).Expect(AckFrame(27));
         s.script->Answer(Frame(35, wrongType + std::string(8, '\0')));
       },
       "E309 Bad waypoint data packet"},
      {"no end", testing::kEtrexArray,
       [](GarminJob& s) {
         s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(0)).Expect(AckFrame(27));
       },
       "E308 Timeout while waiting for transfer complete packet"},
      {"wrong end", testing::kEtrexArray,
       [](GarminJob& s) {
         s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(0)).Expect(AckFrame(27));
         s.script->Answer(Frame(12, Bytes({7})));
       },
       "E307 Bad transfer complete packet type or format"},
  };
  for (const Case& c : cases) {
    GarminJob s;
    s.Handshake(c.array);
    c.answers(s);
    s.script->Expect(kAbort);
    EXPECT_EQ(SerialDownloadWaypoints(s.job), -1) << c.name;
    EXPECT_EQ(s.channel.Messages(), Error(c.text, caption)) << c.name;
    EXPECT_TRUE(s.script->Finished()) << c.name;
    EXPECT_FALSE(s.script->Mismatch()) << c.name << s.script->MismatchReport();
  }
}

TEST(GarminWaypointDownload, NoWaypointsIsNothingToInstall) {
  GarminJob s;
  WaypointDownload(s, {});
  EXPECT_EQ(SerialDownloadWaypoints(s.job), -1);
  EXPECT_EQ(s.channel.Progress().back(), "0 of 0 waypoints read (0.000 secs)");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(GarminWaypointDownload, AbortSendsTheAbortCommand) {
  GarminJob s;
  s.Handshake();
  s.script->Expect(CommandFrame(7)).Answer(AckFrame(10) + RecordsFrame(2)).Expect(AckFrame(27));
  s.script->Answer(Frame(35, D108("A", "B", 0, 0, 0))).Expect(kAbort);
  SerialPacketLink link(s.job);
  Session session{s.job, link};
  ASSERT_EQ(RequestProductData(session), 0);
  s.job.abort = true;
  EXPECT_EQ(DownloadWaypoints(session, false), -1);
  EXPECT_TRUE(s.channel.Messages().empty());
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

// ---- track download --------------------------------------------------------

void TrackDownload(GarminJob& s, const std::string& array, const std::vector<std::string>& packets) {
  s.Handshake(array);
  s.script->Expect(CommandFrame(6)).Answer(AckFrame(10)).Answer(RecordsFrame(static_cast<int>(packets.size())));
  s.script->Expect(AckFrame(27));
  for (const std::string& p : packets) s.script->Answer(p).Expect(AckFrame(static_cast<uint8_t>(p[1])));
  s.script->Answer(CompleteFrame(6)).Expect(AckFrame(12));
}

TEST(GarminTrackDownload, HeadersAreAcknowledgedAndTheFirstPointStartsASegment) {
  GarminJob s;
  std::vector<std::string> packets = {Frame(99, Bytes({1, 0}) + "ACTIVE LOG" + '\0')};
  for (int i = 0; i < 5; ++i) packets.push_back(Frame(34, D301(kLat + i, kLon, 1000 + i, 1500.25f, false)));
  packets.push_back(Frame(99, Bytes({1, 0}) + "SAVED" + '\0'));
  packets.push_back(Frame(34, D301(kLat, kLon, 2000, 1e25f, true)));
  TrackDownload(s, testing::kEtrexArray, packets);
  ASSERT_EQ(SerialDownloadTrackLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  ASSERT_EQ(s.job.points.size(), 6u);
  EXPECT_EQ(s.job.points[0].flags, kNewSegment);  // the unit sent 0
  EXPECT_EQ(s.job.points[0].gpsAlt, 15003);
  EXPECT_EQ(s.job.points[4].time, 1004u);
  EXPECT_EQ(s.job.points[5].flags, kNewSegment);
  EXPECT_EQ(s.job.points[5].gpsAlt, 0);
  EXPECT_EQ(s.job.source, TrackSource::Garmin);
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_EQ(s.job.signable, 1);
  EXPECT_EQ(s.job.hasPressureAltitude, 0);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Requesting track log download"));
  EXPECT_TRUE(Shown(progress, "Track position 5 of 8 (0m 0s)"));
  EXPECT_EQ(progress.back(), "6 track positions read (0.000 secs)");
  EXPECT_TRUE(s.channel.Messages().empty());
}

TEST(GarminTrackDownload, ErrorsAndTheAbortAfterThem) {
  const char* caption = "Read GPS track log";
  struct Case {
    const char* name;
    std::string array;
    std::vector<std::string> packets;  // after the records packet
    std::string text;
    bool abort;
  };
  const std::string point = Frame(34, D301(kLat, kLon, 1000, 10, false));
  const Case cases[] = {
      {"header from an A300 unit",
       "L001,A010,A100,D108,A300,D300",
       {Frame(99, Bytes({1, 0, 0}))},
       "E208 Packet type/protocol mismatch",
       true},
      {"other packet", testing::kEtrexArray, {Frame(35, D108("A", "B", 0, 0, 0))}, "E209 Bad data packet", true},
      {"short point",
       testing::kEtrexArray,
       {Frame(34, std::string(20, '\0'))},
       "E206 Packet type/length mismatch",
       true},
      {"no point", testing::kEtrexArray, {}, "E205 Timeout while waiting for log data packet", true},
  };
  for (const Case& c : cases) {
    GarminJob s;
    s.Handshake(c.array);
    s.script->Expect(CommandFrame(6)).Answer(AckFrame(10)).Answer(RecordsFrame(1)).Expect(AckFrame(27));
    for (const std::string& p : c.packets) s.script->Answer(p);
    if (c.abort) s.script->Expect(kAbort);
    EXPECT_EQ(SerialDownloadTrackLog(s.job), -1) << c.name;
    EXPECT_EQ(s.channel.Messages(), Error(c.text, caption)) << c.name;
    EXPECT_TRUE(s.script->Finished()) << c.name;
    EXPECT_FALSE(s.script->Mismatch()) << c.name << s.script->MismatchReport();
  }
  GarminJob none;
  none.Handshake("L001,A010,A100,D108");
  EXPECT_EQ(SerialDownloadTrackLog(none.job), -1);
  EXPECT_EQ(none.channel.Messages(), Error("E212 No track log protocol defined", caption));
  EXPECT_TRUE(none.script->Finished());
}

TEST(GarminTrackDownload, AnEmptyLogIsNoDownload) {
  GarminJob s;
  TrackDownload(s, testing::kEtrexArray, {});
  EXPECT_EQ(SerialDownloadTrackLog(s.job), -1);
  EXPECT_EQ(s.channel.Messages(), Error("No points detected", "Read GPS track log"));
}

TEST(GarminTrackDownload, CompetitionModeChecksTheWaypointsFirstAndPowerOffFollows) {
  GarminJob s;
  s.commandLine.powerOff = true;
  WaypointDownload(s, {D108("civlid", "12345", 0, kLat, kLon)});
  s.script->Expect(CommandFrame(6)).Answer(AckFrame(10)).Answer(RecordsFrame(1)).Expect(AckFrame(27));
  s.script->Answer(Frame(34, D301(kLat, kLon, 1000, 10, true))).Expect(AckFrame(34));
  s.script->Answer(CompleteFrame(6)).Expect(AckFrame(12)).Expect(CommandFrame(8));
  std::vector<std::string> checked;
  s.job.competitionCheck = [&checked](GpsJob&, const Waypoint& w) { checked.push_back(w.name); };
  ASSERT_EQ(SerialDownloadTrackLog(s.job), 0);
  EXPECT_EQ(checked, std::vector<std::string>{"CIVLID"});
  EXPECT_TRUE(s.job.waypoints.empty());
  EXPECT_EQ(s.job.points.size(), 1u);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

}  // namespace
}  // namespace trelvik::garmin
