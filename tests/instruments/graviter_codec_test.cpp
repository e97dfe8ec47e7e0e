// The Graviter memory image from hand-built bytes: the reply's shape, the ring
// of linked tracks, the bit-packed points and every refusal.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <map>

#include "geo/angles.hpp"
#include "instruments/graviter/codec.hpp"

namespace trelvik::graviter {
namespace {

constexpr uint32_t kFirstIndex = 1697;  // memory index of image byte 0
constexpr uint32_t kRingEnd = 131071;

// Bits least significant first into consecutive bytes.
struct Bits {
  std::vector<uint8_t> bytes;
  int used = 8;
  void Put(uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
      if (used == 8) {
        bytes.push_back(0);
        used = 0;
      }
      if ((value >> i) & 1u) bytes.back() = static_cast<uint8_t>(bytes.back() | (1u << used));
      ++used;
    }
  }
};

// A track: next pointer, header, points.
std::vector<uint8_t> Track(uint32_t next, std::vector<uint8_t> header, const std::vector<uint8_t>& points) {
  std::vector<uint8_t> t = {static_cast<uint8_t>(next >> 16), static_cast<uint8_t>(next >> 8),
                            static_cast<uint8_t>(next)};
  t.insert(t.end(), header.begin(), header.end());
  t.insert(t.end(), points.begin(), points.end());
  return t;
}

std::vector<uint8_t> Header(int count, int type = 3, std::vector<uint8_t> date = {15, 7, 24, 10, 5, 11, 30}) {
  date.push_back(static_cast<uint8_t>(type));
  date.push_back(static_cast<uint8_t>(count >> 8));
  date.push_back(static_cast<uint8_t>(count));
  return date;
}

// The reply to "y" for a memory holding `tracks` at their indexes (wrapping
// round the ring), `first` the first-track pointer; `imageBytes` cuts the image.
std::vector<uint8_t> Reply(uint32_t first, const std::map<uint32_t, std::vector<uint8_t>>& tracks,
                           size_t imageBytes = kRingEnd - kFirstIndex + 1) {
  std::vector<uint8_t> memory(kRingEnd + 1, 0xFF);
  for (const auto& [at, bytes] : tracks) {
    uint32_t i = at;
    for (const uint8_t b : bytes) {
      memory[i] = b;
      i = i == kRingEnd ? 1700 : i + 1;
    }
  }
  memory[kFirstIndex] = static_cast<uint8_t>(first >> 16);
  memory[kFirstIndex + 1] = static_cast<uint8_t>(first >> 8);
  memory[kFirstIndex + 2] = static_cast<uint8_t>(first);
  std::vector<uint8_t> reply = {'y'};
  uint8_t sum = 0;
  for (size_t k = 0; k < imageBytes; ++k) {
    reply.push_back(memory[kFirstIndex + k]);
    sum ^= memory[kFirstIndex + k];
  }
  reply.push_back('*');
  reply.push_back(sum);
  reply.push_back('\r');
  reply.push_back('\n');
  return reply;
}

uint32_t FloatBits(float f) { return std::bit_cast<uint32_t>(f); }

// Three points: absolute everything; a change of every value; the second again.
std::vector<uint8_t> ThreePoints() {
  Bits b;
  // Absolute altitude, others, time, fifth, latitude, longitude; longitude negative.
  b.Put(0x200 | 0x1 | 0x2 | 0x4 | 0x8 | 0x100, 10);
  b.Put((0x800 | 0x1000 | 0x2000 | 0x10000) >> 10, 8);
  b.Put(1500, 16);
  b.Put(0, 8);
  b.Put(0, 8);
  b.Put(0, 6);
  b.Put(36000, 17);
  b.Put(0, 8);
  b.Put(FloatBits(0.8f), 32);
  b.Put(FloatBits(0.1f), 32);
  // Changes: altitude down 3 m, time +2 s, latitude +5e-7, longitude -7e-7 (sign: moves away from 0).
  b.used = 8;
  b.Put(0x10, 10);
  b.Put(3, 3);
  b.Put(0, 4);
  b.Put(0, 3);
  b.Put(0, 2);
  b.Put(2, 3);
  b.Put(5, 7);
  b.Put(7, 7);
  // No change at all: dropped as a repeat.
  b.used = 8;
  b.Put(0, 10);
  b.Put(0, 3);
  b.Put(0, 4);
  b.Put(0, 3);
  b.Put(0, 2);
  b.Put(0, 3);
  b.Put(0, 7);
  b.Put(0, 7);
  return b.bytes;
}

TEST(GraviterImage, ShapeAndFirstPointer) {
  std::vector<TrackPoint> points;
  EXPECT_EQ(DecodeImage(Reply(0xFFFFFF, {}), points, nullptr), 0);
  EXPECT_TRUE(points.empty());
  std::vector<uint8_t> reply = Reply(0xFFFFFF, {});
  EXPECT_EQ(DecodeImage(std::span(reply).first(20), points, nullptr), 1);
  reply[0] = 'x';
  EXPECT_EQ(DecodeImage(reply, points, nullptr), 1);
  reply = Reply(0xFFFFFF, {});
  reply[reply.size() - 4] = '#';
  EXPECT_EQ(DecodeImage(reply, points, nullptr), 2);
  reply = Reply(0xFFFFFF, {});
  reply[reply.size() - 3] ^= 1;
  EXPECT_EQ(DecodeImage(reply, points, nullptr), 3);
  EXPECT_EQ(DecodeImage(Reply(1699, {}), points, nullptr), 4);
  EXPECT_EQ(DecodeImage(Reply(0x20000, {}), points, nullptr), 4);
}

TEST(GraviterImage, PointsAbsoluteThenChangedAndARepeatDropped) {
  std::vector<TrackPoint> points;
  const auto reply = Reply(2000, {{2000, Track(0xFFFFFF, Header(3), ThreePoints())}});
  ASSERT_EQ(DecodeImage(reply, points, nullptr), 0);
  ASSERT_EQ(points.size(), 2u);
  const TrackTime day = 1089936000u;  // 2024-07-15
  EXPECT_EQ(points[0].time, day + 36000);
  EXPECT_EQ(points[0].gpsAlt, 15000);
  EXPECT_EQ(points[0].lat, RadiansToSemicircle(0.8f));
  EXPECT_EQ(points[0].lon, RadiansToSemicircle(-0.1f));
  EXPECT_EQ(points[0].flags, kNewSegment);
  EXPECT_EQ(points[1].time, day + 36002);
  EXPECT_EQ(points[1].gpsAlt, 14970);
  EXPECT_EQ(points[1].lat, RadiansToSemicircle(static_cast<double>(0.8f) + 5e-7));
  EXPECT_EQ(points[1].lon, RadiansToSemicircle(-static_cast<double>(0.1f) + 7e-7));
  EXPECT_EQ(points[1].flags, 0);
}

// A stored single that is no angle (here infinity and NaN) is no position.
TEST(GraviterImage, PositionsThatAreNoAnglesAreSkipped) {
  Bits b;
  for (const float lat : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 0.5f}) {
    b.used = 8;
    b.Put(0x200 | 0x1 | 0x100, 10);
    b.Put((0x1000 | 0x2000) >> 10, 8);
    b.Put(100, 16);
    b.Put(0, 4);
    b.Put(0, 3);
    b.Put(0, 2);
    b.Put(36000, 17);
    b.Put(0, 3);
    b.Put(FloatBits(lat), 32);
    b.Put(FloatBits(0.1f), 32);
  }
  std::vector<TrackPoint> points;
  ASSERT_EQ(DecodeImage(Reply(2000, {{2000, Track(0xFFFFFF, Header(3), b.bytes)}}), points, nullptr), 0);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].lat, RadiansToSemicircle(0.5f));
  EXPECT_EQ(points[0].flags, kNewSegment);
}

TEST(GraviterImage, LinkedTracksAcrossTheEndOfTheRing) {
  std::vector<TrackPoint> points;
  const uint32_t first = kRingEnd - 20;  // its points run over into the ring's start
  const uint32_t second = 1800;
  std::vector<const TrackHeader*> notices;
  std::vector<TrackHeader> noticed;
  const auto reply = Reply(first, {{first, Track(second, Header(3), ThreePoints())},
                                   {second, Track(0xFFFFFF, Header(0, 2, {1, 1, 25, 23, 59, 0, 0}), {})}});
  ASSERT_EQ(DecodeImage(reply, points, [&](const TrackHeader& h) { noticed.push_back(h); }), 0);
  EXPECT_EQ(points.size(), 2u);
  ASSERT_EQ(noticed.size(), 1u);
  EXPECT_EQ(noticed[0].year, 2025);
  EXPECT_EQ(noticed[0].month, 1);
  EXPECT_EQ(noticed[0].day, 1);
  EXPECT_EQ(noticed[0].startHour, 23);
  EXPECT_EQ(noticed[0].startMinute, 59);
}

TEST(GraviterImage, PointerWalksEndAndNeverReadWhatDidNotArrive) {
  std::vector<TrackPoint> points;
  struct Case {
    std::vector<uint8_t> reply;
    int code;
  };
  const Case cases[] = {
      // Back to a track already read.
      {Reply(2000, {{2000, Track(3000, Header(0, 2), {})}, {3000, Track(2000, Header(0, 2), {})}}), 10},
      {Reply(2000, {{2000, Track(2000, Header(0, 2), {})}}), 10},
      {Reply(2000, {{2000, Track(0x30000, Header(0, 2), {})}}), 10},
      // The next track begins inside this one's header or points.
      {Reply(2000, {{2000, Track(2005, Header(0, 2), {})}, {2005, Track(0xFFFFFF, Header(0, 2), {})}}), 11},
      {Reply(2000, {{2000, Track(2015, Header(3), ThreePoints())}, {2015, Track(0xFFFFFF, Header(0, 2), {})}}), 21},
      // The image stops inside the track.
      {Reply(2000, {{2000, Track(0xFFFFFF, Header(3), ThreePoints())}}, 2000 - kFirstIndex + 20), 30},
      {Reply(2000, {{2000, Track(0xFFFFFF, Header(3), ThreePoints())}}, 2000 - kFirstIndex + 5), 11},
  };
  for (const Case& c : cases) {
    points.clear();
    EXPECT_EQ(DecodeImage(c.reply, points, nullptr), c.code);
  }
}

TEST(GraviterImage, HeaderRangeChecksInOrder) {
  const std::vector<uint8_t> good = {15, 7, 24, 10, 5, 11, 30};
  const std::pair<size_t, uint8_t> faults[] = {{0, 0}, {1, 13}, {2, 100}, {3, 24}, {4, 60}, {5, 24}, {6, 60}};
  int code = 12;
  for (const auto& [field, value] : faults) {
    std::vector<uint8_t> date = good;
    date[field] = value;
    std::vector<TrackPoint> points;
    EXPECT_EQ(DecodeImage(Reply(2000, {{2000, Track(0xFFFFFF, Header(0, 2, date), {})}}), points, nullptr), code++);
  }
}

TEST(GraviterIdentity, FieldsSeparatedByRunsOfBlanks) {
  IdentityParser parser;
  int lines = 0;
  for (const char c : std::string("noise\r\nGRV   Graviter-2 V2.1\r  4711 2024\r\n"))
    lines += parser.Feed(static_cast<uint8_t>(c)) ? 1 : 0;
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(parser.Model(), "Graviter-2");
  EXPECT_EQ(parser.Serial(), "4711");
  EXPECT_EQ(NameByteCommand(3, 'A'), "W000211065");
}

}  // namespace
}  // namespace trelvik::graviter
