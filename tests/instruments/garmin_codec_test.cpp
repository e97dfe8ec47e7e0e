// The Garmin codecs from bytes: the serial framing, product data, capability
// arrays and the built-in table, the protocol check, and the D1xx and D30x
// records, against traffic built by hand from Garmin's description.
#include <gtest/gtest.h>

#include <cstring>

#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/link_serial.hpp"
#include "instruments/garmin/packets.hpp"
#include "instruments/garmin/protocols.hpp"
#include "instruments/garmin/tracks.hpp"
#include "instruments/garmin/waypoints.hpp"
#include "instruments/garmin_fixtures.hpp"

namespace trelvik::garmin {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::Le16;
using testing::Le32;
using testing::LeFloat;

GarminPacket PacketOf(int id, const std::string& data) {
  GarminPacket packet;
  packet.id = static_cast<uint8_t>(id);
  packet.size = static_cast<uint8_t>(data.size());
  std::memcpy(packet.data.data(), data.data(), data.size());
  return packet;
}

std::string FrameText(const GarminPacket& packet) {
  const std::vector<uint8_t> frame = FrameSerialPacket(packet);
  return std::string(frame.begin(), frame.end());
}

// Every packet the receiver completes from `bytes`, as "id:data".
std::vector<std::string> Unframed(const std::string& bytes) {
  SerialReceiver receiver;
  std::vector<std::string> packets;
  for (const char c : bytes) {
    if (!receiver.Feed(static_cast<uint8_t>(c))) continue;
    const GarminPacket& p = receiver.Packet();
    packets.push_back(std::to_string(p.id) + ":" + std::string(reinterpret_cast<const char*>(p.data.data()), p.size));
  }
  return packets;
}

TEST(GarminFraming, StuffsEveryDleButTheId) {
  struct Case {
    GarminPacket packet;
    std::string frame;
  };
  const Case cases[] = {
      {ProductRequest(), Bytes({0x10, 254, 0, 2, 0x10, 3})},
      {Ack(255), Bytes({0x10, 6, 2, 255, 0, 0xF9, 0x10, 3})},
      // id 0x10 alone: not doubled.
      {PacketOf(0x10, Bytes({1})), Bytes({0x10, 0x10, 1, 1, 0xEE, 0x10, 3})},
      // a data byte of 0x10 goes out twice, the checksum too when it is 0x10.
      {PacketOf(34, Bytes({0x10})), Bytes({0x10, 34, 1, 0x10, 0x10, 0xCD, 0x10, 3})},
      {PacketOf(0xDD, Bytes({0x02, 0x01})), Bytes({0x10, 0xDD, 2, 2, 1, 0x1E, 0x10, 3})},
      {PacketOf(0xEE, Bytes({0x01})), Bytes({0x10, 0xEE, 1, 1, 0x10, 0x10, 0x10, 3})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameText(c.packet), c.frame) << static_cast<int>(c.packet.id);
    EXPECT_EQ(Frame(c.packet.id, std::string(reinterpret_cast<const char*>(c.packet.data.data()), c.packet.size)),
              c.frame);
  }
  // A size of 16 is doubled as well.
  const std::string sixteen(16, 'a');
  EXPECT_EQ(FrameText(PacketOf(35, sixteen)).substr(0, 4), Bytes({0x10, 35, 0x10, 0x10}));
}

TEST(GarminFraming, ReceiverTakesGoodPacketsAndDropsBadOnes) {
  const std::string good = Frame(35, Bytes({0x10, 1, 2}));
  std::string badSum = good;
  badSum[badSum.size() - 3] ^= 1;
  std::string loneDle = Frame(35, Bytes({1, 2, 3}));
  loneDle.insert(4, 1, 0x10);  // a DLE before a data byte that is no DLE
  struct Case {
    std::string bytes;
    std::vector<std::string> packets;
  };
  const Case cases[] = {
      {good, {"35:" + Bytes({0x10, 1, 2})}},
      {"noise" + good + Bytes({0x10, 0x03}) + good, {"35:" + Bytes({0x10, 1, 2}), "35:" + Bytes({0x10, 1, 2})}},
      {badSum + Frame(6, Bytes({35, 0})), {"6:" + Bytes({35, 0})}},
      {loneDle + Frame(12, Le16(7)), {"12:" + Le16(7)}},
      {Frame(254), {"254:"}},
      // A frame whose end is not DLE ETX is no packet.
      {good.substr(0, good.size() - 1) + "x", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Unframed(c.bytes), c.packets);
}

TEST(GarminPackets, ProductDataNeedsFiveBytesAndItsTextStaysInThePacket) {
  EXPECT_FALSE(IsProductData(PacketOf(255, Le16(77) + Le16(355))));
  EXPECT_TRUE(IsProductData(PacketOf(255, Le16(77) + Le16(355) + "G")));
  const ProductData product = ParseProductData(PacketOf(255, Le16(77) + Le16(355) + "GPS 12XL" + '\0' + "more"));
  EXPECT_EQ(product.productId, 77);
  EXPECT_EQ(product.version, 355);
  EXPECT_EQ(product.description, "GPS 12XL");
  // No terminator: the text ends with the packet, never with stale bytes after it.
  GarminPacket unterminated = PacketOf(255, Le16(1) + Le16(2) + "ABC");
  unterminated.data[7] = 'Z';
  EXPECT_EQ(ParseProductData(unterminated).description, "ABC");
  EXPECT_EQ(ParseProductData(PacketOf(255, Le16(1) + Le16(2) + std::string(200, 'x'))).description.size(), 80u);
}

TEST(GarminPackets, AcknowledgementsRecordsAndTransferComplete) {
  EXPECT_TRUE(IsAckOf(PacketOf(6, Bytes({10, 0})), 10));
  EXPECT_TRUE(IsAckOf(PacketOf(6, Bytes({10, 0, 9})), 10));
  EXPECT_FALSE(IsAckOf(PacketOf(6, Bytes({10, 1})), 10));
  EXPECT_FALSE(IsAckOf(PacketOf(6, Bytes({10})), 10));
  EXPECT_FALSE(IsAckOf(PacketOf(21, Bytes({10, 0})), 10));
  EXPECT_TRUE(IsRecords(PacketOf(27, Le16(3))));
  EXPECT_FALSE(IsRecords(PacketOf(27, Bytes({3}))));
  EXPECT_TRUE(IsTransferComplete(PacketOf(12, Le16(7))));
  EXPECT_FALSE(IsTransferComplete(PacketOf(12, Bytes({7}))));
}

GarminProtocolSet Parsed(const std::string& list, int* rc = nullptr) {
  GarminProtocolSet set;
  const std::string bytes = testing::ArrayData(list);
  const int result = ParseProtocolArray(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), set);
  if (rc != nullptr) *rc = result;
  return set;
}

TEST(GarminProtocols, CapabilityArrayFillsTheSet) {
  const GarminProtocolSet set =
      Parsed("P000,L001,A010,T001,A100,D109,D999,A201,D202,D109,D210,A301,D310,D301,A400,D403,A500,D501,A600,D600");
  EXPECT_EQ(set.physical, 0);
  EXPECT_EQ(set.link, 1);
  EXPECT_EQ(set.deviceCommand, 10);
  EXPECT_EQ(set.transmission, 1);
  EXPECT_EQ(set.waypointTransfer, 100);
  EXPECT_EQ(set.waypointType, 109);  // D999 is not a waypoint type
  EXPECT_EQ(set.routeTransfer, 201);
  EXPECT_EQ(set.routeHeaderType, 202);
  EXPECT_EQ(set.routeWaypointType, 109);
  EXPECT_EQ(set.routeLinkType, 210);
  EXPECT_EQ(set.trackTransfer, 301);
  EXPECT_EQ(set.trackHeaderType, 310);
  EXPECT_EQ(set.trackPointType, 301);
  EXPECT_EQ(set.proximityTransfer, 400);
  EXPECT_EQ(set.proximityType, 403);
  EXPECT_EQ(set.almanacTransfer, 500);
  EXPECT_EQ(set.almanacType, 501);
  // The last accepted type wins.
  EXPECT_EQ(Parsed("L001,A010,A100,D103,D108").waypointType, 108);
}

TEST(GarminProtocols, BadTagsFail) {
  for (const char* list : {"L001,X001", "D100,L001", "L001,A010,Z100"}) {
    int rc = 0;
    (void)Parsed(list, &rc);
    EXPECT_EQ(rc, -1) << list;
  }
  int rc = 1;
  (void)Parsed("L001,D001,A010", &rc);
  EXPECT_EQ(rc, 0);  // the data types after a link protocol are skipped
}

TEST(GarminProtocols, CheckNamesTheFirstReason) {
  struct Case {
    std::string list;
    std::string text;
  };
  const Case cases[] = {
      {"L001,A010,A100,D108,A301,D310,D301", ""},
      {"L001,A010", ""},  // neither waypoints nor tracks: served, each transfer says so later
      {"L002,A011,A100,D150", "E180 Unsupported link protocol"},
      {"L001,A011,A100,D108", "E181 Unsupported device command protocol"},
      {"L001,A100,D108", "E181 Unsupported device command protocol"},
      {"L001,A010,A100,D105", "E183 Unsupported waypoint data type"},
      {"L001,A010,A100", "E183 Unsupported waypoint data type"},
      {"L001,A010,A300,D310", "E185 Unsupported track log data type"},
      {"L001,A010,A100,D108,A302,D311,D304", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProtocolCheckText(CheckProtocols(Parsed(c.list))), c.text) << c.list;
  }
  GarminProtocolSet other = Parsed("L001,A010");
  other.waypointTransfer = 101;
  EXPECT_EQ(ProtocolCheckText(CheckProtocols(other)), "E182 Unsupported waypoint transfer protocol");
  other = Parsed("L001,A010");
  other.trackTransfer = 303;
  other.trackPointType = 301;
  EXPECT_EQ(ProtocolCheckText(CheckProtocols(other)), "E185 Unsupported track log data type");
}

TEST(GarminProtocols, BuiltInTableByProductAndVersion) {
  struct Case {
    int id;
    int version;
    int waypointType;
    int track;
  };
  const Case cases[] = {
      {77, 355, 103, 300}, {77, 300, 100, 300}, {77, 301, 103, 300}, {77, 361, 103, 300}, {29, 399, 101, 300},
      {29, 400, 102, 300}, {7, 100, 100, 0},    {15, 0, 151, 0},     {36, 299, 152, 300}, {71, 500, 155, 300},
  };
  for (const Case& c : cases) {
    const std::optional<GarminProtocolSet> row = BuiltInProtocols(static_cast<uint16_t>(c.id), c.version);
    ASSERT_TRUE(row) << c.id;
    EXPECT_EQ(row->waypointType, c.waypointType) << c.id << "/" << c.version;
    EXPECT_EQ(row->trackTransfer, c.track) << c.id;
    EXPECT_EQ(row->trackPointType, c.track) << c.id;
    EXPECT_EQ(CheckProtocols(*row), ProtocolCheck::Ok) << c.id;
  }
  EXPECT_FALSE(BuiltInProtocols(999, 100));
  EXPECT_FALSE(BuiltInProtocols(20, 100));  // an L002 unit
  EXPECT_EQ(BuiltInProtocolTable().size(), 48u);
  for (const GarminProtocolSet& row : BuiltInProtocolTable()) {
    EXPECT_EQ(row.link, 1);
    EXPECT_EQ(row.deviceCommand, 10);
    EXPECT_EQ(row.waypointTransfer, 100);
    EXPECT_EQ(row.physical, 0);
    EXPECT_EQ(row.transmission, 0);
  }
}

// ---- waypoints -------------------------------------------------------------

constexpr int32_t kLat = 554766000;  // about 46.5 degrees
constexpr int32_t kLon = -97000000;

std::string Fixed(const std::string& text, size_t width) { return (text + std::string(width, ' ')).substr(0, width); }

// D100-style record: ident, position, 4 unused bytes, comment, then `tail`.
std::string Classic(const std::string& name, const std::string& comment, const std::string& tail) {
  return Fixed(name, 6) + Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon)) + Le32(0) +
         Fixed(comment, 40) + tail;
}

// D108/D109/D110 record with its leading bytes.
std::string Variable(int type, float alt, const std::string& name, const std::string& comment, uint16_t symbol) {
  std::string head = type == 108 ? Bytes({0, 0xFF, 0, 0x60}) : Bytes({1, 0, 0x1F, type == 109 ? 0x70 : 0x80});
  std::string data = head + Le16(symbol) + std::string(18, '\xFF') + Le32(static_cast<uint32_t>(kLat)) +
                     Le32(static_cast<uint32_t>(kLon)) + LeFloat(alt) + LeFloat(1e25f) + LeFloat(0) + "    ";
  if (type >= 109) data += Le32(0xFFFFFFFF);
  if (type == 110) data += LeFloat(1e25f) + Le32(1000) + Le16(0);
  return data + name + '\0' + comment + '\0' + std::string(4, '\0');
}

TEST(GarminWaypoints, DecodeEachType) {
  constexpr TrackTime kNow = 900000000;
  struct Case {
    int type;
    std::string data;
    int32_t alt;
    int airport;
    TrackTime time;
  };
  const std::string alt16 = Le16(static_cast<uint16_t>(-12));
  const std::string d15x = Classic("fiesch", "launch  ", Le32(0) + std::string(56, ' ') + alt16 + "  " + Bytes({0, 4}));
  const Case cases[] = {
      {100, Classic("fiesch", "launch", ""), 0, 0, kNow},
      {101, Classic("fiesch", "launch", Le32(0) + Bytes({18})), 0, 0, kNow},
      {102, Classic("fiesch", "launch", Le32(0) + Le16(0x4000)), 0, 1, kNow},
      {103, Classic("fiesch", "launch", Bytes({0, 0})), 0, 0, kNow},
      {104, Classic("fiesch", "launch", Le32(0) + Le16(18) + Bytes({4})), 0, 0, kNow},
      {107, Classic("fiesch", "launch", Bytes({0, 0}) + Le32(0) + Bytes({0})), 0, 0, kNow},
      {108, Variable(108, -12.5f, "fiesch", "launch  ", 0x4000), -13, 1, kNow},
      {109, Variable(109, 2240.5f, "fiesch", "launch", 18), 2241, 0, kNow},
      {110, Variable(110, 1e25f, "fiesch", "launch", 18), 0, 0, 1000},
      {150,
       Fixed("fiesch", 6) + "CH" + Bytes({0}) + Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon)) +
           alt16 + std::string(56, ' ') + Fixed("launch", 40),
       -12, 0, kNow},
      {151, d15x, -12, 0, kNow},
      {152, d15x, -12, 0, kNow},
      {154, d15x + Le16(0x4000), -12, 1, kNow},
      {155, d15x + Le16(0x4000) + Bytes({0}), -12, 1, kNow},
  };
  for (const Case& c : cases) {
    Waypoint w;
    ASSERT_EQ(DecodeWaypoint(static_cast<uint16_t>(c.type), PacketOf(35, c.data), kNow, w), 0) << c.type;
    EXPECT_EQ(w.lat, kLat) << c.type;
    EXPECT_EQ(w.lon, kLon) << c.type;
    EXPECT_STREQ(w.name, "FIESCH") << c.type;
    EXPECT_STREQ(w.description, "LAUNCH") << c.type;
    EXPECT_EQ(w.alt, c.alt) << c.type;
    EXPECT_EQ(w.airport, c.airport) << c.type;
    EXPECT_EQ(w.time, c.time) << c.type;
    // One byte short of the type's size: not a waypoint of that type.
    EXPECT_EQ(
        DecodeWaypoint(static_cast<uint16_t>(c.type),
                       PacketOf(35, c.data.substr(0, WaypointMinimumSize(static_cast<uint16_t>(c.type)) - 1)), kNow, w),
        -1)
        << c.type;
  }
}

TEST(GarminWaypoints, DecodeRefusals) {
  Waypoint w;
  EXPECT_EQ(DecodeWaypoint(108, PacketOf(34, Variable(108, 0, "A", "B", 18)), 0, w), -1);
  std::string wrongType = Variable(109, 0, "A", "B", 18);
  wrongType[0] = 0;
  EXPECT_EQ(DecodeWaypoint(109, PacketOf(35, wrongType), 0, w), -2);
  std::string wrongAttribute = Variable(110, 0, "A", "B", 18);
  wrongAttribute[3] = 0x70;
  EXPECT_EQ(DecodeWaypoint(110, PacketOf(35, wrongAttribute), 0, w), -2);
  // Texts that run to the end of the packet stop there.
  std::string cut = Variable(108, 0, "ABCDEFGHIJ", "", 18);
  cut.resize(52);
  ASSERT_EQ(DecodeWaypoint(108, PacketOf(35, cut), 0, w), 0);
  EXPECT_STREQ(w.name, "ABCD");
  EXPECT_STREQ(w.description, "");
  // Altitudes beyond 20 km are unknown; blanks keep one blank.
  ASSERT_EQ(DecodeWaypoint(108, PacketOf(35, Variable(108, 25000.0f, "  ", "a  b  ", 18)), 0, w), 0);
  EXPECT_EQ(w.alt, 0);
  EXPECT_STREQ(w.name, " ");
  EXPECT_STREQ(w.description, "A  B");
}

Waypoint Upload(const char* name, const char* comment, int32_t alt, int airport) {
  Waypoint w;
  w.lat = kLat;
  w.lon = kLon;
  std::strncpy(w.name, name, 6);
  std::strncpy(w.description, comment, 40);
  w.alt = alt;
  w.airport = airport;
  w.time = 1000;
  return w;
}

TEST(GarminWaypoints, EncodeEachType) {
  const Waypoint w = Upload("wp_1?", "a;b", -12, 0);
  const Waypoint airport = Upload("LSZH", "Zurich", 432, 1);
  const std::string pos = Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon));
  const std::string name = "WP 1  ";
  const std::string comment = Fixed("A-B", 40);
  const std::string classic = name + pos + Le32(0) + comment;
  struct Case {
    int type;
    Waypoint waypoint;
    std::string data;
  };
  const Case cases[] = {
      {100, w, classic},
      {101, w, classic + Le32(0) + Bytes({18})},
      {102, airport, Fixed("LSZH", 6) + pos + Le32(0) + Fixed("ZURICH", 40) + Le32(0) + Le16(0x4000)},
      {103, w, classic + Bytes({0, 0})},
      {104, w, classic + Le32(0) + Le16(18) + Bytes({0})},
      {107, w, classic + std::string(7, '\0')},
      {108, w,
       Bytes({0, 0xFF, 0, 0x60}) + Le16(18) + std::string(18, '\0') + pos + LeFloat(-12) + std::string(12, '\0') +
           "WP 1 " + '\0' + "A B" + '\0'},
      {109, airport,
       Bytes({1, 0, 0x1F, 0x70}) + Le16(0x4000) + std::string(18, '\0') + pos + LeFloat(432) + std::string(16, '\0') +
           "LSZH" + '\0' + "ZURICH" + '\0'},
      {110, w,
       Bytes({1, 0, 0x1F, 0x80}) + Le16(18) + std::string(18, '\0') + pos + LeFloat(-12) + std::string(20, '\0') +
           Le32(1000) + Le16(0) + "WP 1 " + '\0' + "A B" + '\0'},
      {150, w, name + std::string(3, '\0') + pos + Le16(static_cast<uint16_t>(-12)) + std::string(56, '\0') + comment},
      {152, w, classic + std::string(60, '\0') + Le16(static_cast<uint16_t>(-12)) + std::string(4, '\0')},
      {155, airport,
       Fixed("LSZH", 6) + pos + Le32(0) + Fixed("ZURICH", 40) + std::string(60, '\0') + Le16(432) +
           std::string(4, '\0') + Le16(0x4000) + Bytes({0})},
  };
  for (const Case& c : cases) {
    const GarminPacket packet = EncodeWaypoint(static_cast<uint16_t>(c.type), c.waypoint);
    EXPECT_EQ(packet.id, 35);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(packet.data.data()), packet.size), c.data) << c.type;
  }
}

// ---- tracks ----------------------------------------------------------------

TEST(GarminTracks, DecodeEachPointType) {
  const std::string head = Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon)) + Le32(1000);
  struct Case {
    int type;
    std::string data;
    TrackPoint point;
  };
  const Case cases[] = {
      {300, head + Bytes({1}), {kNewSegment, 1000, kLat, kLon, 0, 0, 0.0f}},
      {301, head + LeFloat(123.4f) + LeFloat(2.5f) + Bytes({0}), {0, 1000, kLat, kLon, 1234, 0, 2.5f}},
      {301, head + LeFloat(1.0e25f) + LeFloat(1.0e25f) + Bytes({1}), {kNewSegment, 1000, kLat, kLon, 0, 0, 1.0e25f}},
      {302, head + LeFloat(-12.5f) + LeFloat(0) + LeFloat(0) + Bytes({1}), {kNewSegment, 1000, kLat, kLon, -124, 0, 0}},
      {303, head + LeFloat(1) + Bytes({1}), {0, 1000, kLat, kLon, 10, 0, 0}},
      {304, head + LeFloat(1) + LeFloat(5) + Bytes({1, 1, 1}), {0, 1000, kLat, kLon, 10, 0, 0}},
      {300, Le32(0) + Le32(0) + Le32(0xFFFFFFFF) + Bytes({0}), {0, 0, 0, 0, 0, 0, 0}},
      {300, Le32(0) + Le32(0) + Le32(0x7FFFFFFF) + Bytes({0}), {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    TrackPoint p;
    ASSERT_EQ(DecodeTrackPoint(static_cast<uint16_t>(c.type), PacketOf(34, c.data), p), 0) << c.type;
    EXPECT_EQ(p.flags, c.point.flags) << c.type;
    EXPECT_EQ(p.time, c.point.time) << c.type;
    EXPECT_EQ(p.lat, c.point.lat) << c.type;
    EXPECT_EQ(p.lon, c.point.lon) << c.type;
    EXPECT_EQ(p.gpsAlt, c.point.gpsAlt) << c.type;
    EXPECT_EQ(p.baroAlt, 0) << c.type;
    EXPECT_EQ(p.aux, c.point.aux) << c.type;
    TrackPoint shortPoint;
    EXPECT_EQ(
        DecodeTrackPoint(static_cast<uint16_t>(c.type), PacketOf(34, c.data.substr(0, c.data.size() - 1)), shortPoint),
        c.type == 300 ? -1 : -2)
        << c.type;
  }
}

TEST(GarminTracks, UploadPointsAndHeaders) {
  const GarminPacket point = EncodeTrackPoint(kLat, kLon, 25);
  EXPECT_EQ(point.id, 34);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(point.data.data()), point.size),
            Le32(static_cast<uint32_t>(kLat)) + Le32(static_cast<uint32_t>(kLon)) + std::string(17, '\0'));
  const GarminPacket header = EncodeTrackHeader(310, std::string(60, 'N'));
  EXPECT_EQ(header.id, 99);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(header.data.data()), header.size),
            Bytes({1, 0}) + std::string(50, 'N') + '\0');
  const GarminPacket index = EncodeTrackHeader(311, "ignored");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.data.data()), index.size), Le16(0));
  EXPECT_EQ(TrackPointSize(300), 13u);
  EXPECT_EQ(TrackPointSize(304), 23u);
}

TEST(GarminTexts, DurationsKeepTheirMilliseconds) {
  EXPECT_EQ(SecondsText(3045), "3.045");
  EXPECT_EQ(SecondsText(3005), "3.005");
  EXPECT_EQ(SecondsText(12), "0.012");
  EXPECT_EQ(SecondsText(60000), "60.000");
}

}  // namespace
}  // namespace trelvik::garmin
