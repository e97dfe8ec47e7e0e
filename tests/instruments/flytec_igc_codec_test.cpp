// The IGC file of a Flytec/Braeuniger download, decoded from bytes.
#include <gtest/gtest.h>

#include "geo/angles.hpp"
#include "instruments/common/igc_track_receiver.hpp"

namespace trelvik::flytec {
namespace {

const std::string kHead = "AFLY01234\r\nHFDTE150724\r\n";
const std::string kB = "B1200004630000N00800000EA0100001100";

struct Received {
  IgcTrackReceiver receiver;
  std::vector<TrackPoint> points;
  std::string raw;
  bool ok = false;
};

void Receive(Received& r, std::string_view bytes) {
  r.receiver.Start(r.points, r.raw);
  const bool fed = r.receiver.Feed({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  r.ok = fed && r.receiver.Finish();
}

TrackTime Day(int day) {
  SystemTime t;
  t.year = 2024;
  t.month = 7;
  t.day = static_cast<uint16_t>(day);
  return TrackTimeFromDate(t);
}

std::string Patched(std::string text, size_t pos, std::string_view with) { return text.replace(pos, with.size(), with); }

TEST(FlytecIgcRecords, EveryFieldFaultHasItsCode) {
  const std::pair<std::string, int> cases[] = {
      {kHead + Patched(kB, 1, "x"), -22},   {kHead + Patched(kB, 1, "24"), -23},
      {kHead + Patched(kB, 3, "x"), -20},   {kHead + Patched(kB, 3, "60"), -21},
      {kHead + Patched(kB, 5, "x"), -18},   {kHead + Patched(kB, 5, "60"), -19},
      {kHead + Patched(kB, 7, "x"), -15},   {kHead + Patched(kB, 7, "90"), -16},
      {kHead + Patched(kB, 9, "x"), -14},   {kHead + Patched(kB, 11, "x"), -13},
      {kHead + Patched(kB, 14, "n"), -17},  {kHead + Patched(kB, 15, "x"), -10},
      {kHead + Patched(kB, 15, "180"), -11}, {kHead + Patched(kB, 18, "x"), -9},
      {kHead + Patched(kB, 20, "x"), -8},   {kHead + Patched(kB, 23, "e"), -12},
      {kHead + Patched(kB, 25, "0x000"), -7}, {kHead + Patched(kB, 30, "0100x"), -7},
      {"AFLY01234\r\n" + kB + "\r\n", kIgcNoDate},
      {"HFDTExx0724\r\n", -4},  {"HFDTE000724\r\n", -5},   {"HFDTE15xx24\r\n", -2},
      {"HFDTE151324\r\n", -3},  {"HFDTE1507xx\r\n", -1},   {"HFDTEDATE:15xx24\r\n", -2},
      {"HFDTE:DATE:150724\r\n", -4},
      {"AFLY01\r\n", -28},      {"AFLY0_234\r\n", -29},
  };
  for (const auto& [text, code] : cases) {
    Received r;
    Receive(r, text + "\n");
    EXPECT_FALSE(r.ok) << text;
    EXPECT_EQ(r.receiver.Status().fault, IgcFault::Format) << text;
    EXPECT_EQ(r.receiver.Status().code, code) << text;
  }
}

TEST(FlytecIgcRecords, LineStartsAndLengthsAreChecked) {
  Received lower;
  Receive(lower, kHead + "b" + kB.substr(1) + "\r\n");
  EXPECT_EQ(lower.receiver.Status().fault, IgcFault::BadRecordType);
  EXPECT_EQ(lower.receiver.Status().byte, 'b');

  Received longest;
  Receive(longest, kHead + "L" + std::string(81, 'x') + "\r\n" + kB + "\r\n");
  EXPECT_TRUE(longest.ok);
  Received tooLong;
  Receive(tooLong, kHead + "L" + std::string(82, 'x') + "\r\n");
  EXPECT_EQ(tooLong.receiver.Status().fault, IgcFault::TooLong);

  Received blankLines;
  Receive(blankLines, "\r\n\n" + kHead + "\n\r\n" + kB + "\r\n");
  EXPECT_TRUE(blankLines.ok);
}

TEST(FlytecIgcRecords, PointsCarryPositionAltitudesAndFlags) {
  Received r;
  Receive(r, kHead + kB + "\r\nB1200104630000S00800000WA-0012-0003\r\nLXYZ\r\nG12\r\nG34\r\n");
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.points.size(), 2u);
  EXPECT_EQ(r.points[0].flags, kNewSegment);
  EXPECT_EQ(r.points[1].flags, 0);
  EXPECT_EQ(r.points[0].time, Day(15) + 12 * 3600);
  EXPECT_EQ(r.points[1].time, Day(15) + 12 * 3600 + 10);
  EXPECT_EQ(r.points[0].lat, RadiansToSemicircle(46.5 * 0.01745329251994));
  EXPECT_EQ(r.points[0].lon, RadiansToSemicircle(8 * 0.01745329251994));
  EXPECT_EQ(r.points[1].lat, -r.points[0].lat);
  EXPECT_EQ(r.points[1].lon, -r.points[0].lon);
  EXPECT_EQ(r.points[0].baroAlt, 1000);
  EXPECT_EQ(r.points[0].gpsAlt, 11000);
  EXPECT_EQ(r.points[1].baroAlt, -12);
  EXPECT_EQ(r.points[1].gpsAlt, -30);
  EXPECT_EQ(r.receiver.Maker(), "FLY");
  EXPECT_EQ(r.receiver.Serial(), "012");
  EXPECT_EQ(r.receiver.GRecords(), 2);
  EXPECT_EQ(r.receiver.FirstFixTime(), Day(15) + 12 * 3600);
}

TEST(FlytecIgcRecords, TimesCrossMidnightButNotSmallStepsBack) {
  Received r;
  Receive(r, kHead + Patched(kB, 1, "235959") + "\r\n" + Patched(kB, 1, "000001") + "\r\n" +
                 Patched(kB, 1, "120000") + "\r\n" + Patched(kB, 1, "113000") + "\r\n");
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.points.size(), 4u);
  EXPECT_EQ(r.points[1].time - r.points[0].time, 2u);
  EXPECT_EQ(r.points[2].time, Day(16) + 12 * 3600);
  EXPECT_EQ(r.points[3].time, Day(16) + 11 * 3600 + 1800);
}

TEST(FlytecIgcRecords, DateLinesInBothFormsAndRepeated) {
  const std::pair<std::string, TrackTime> cases[] = {
      {"HFDTEDATE:150724,01", Day(15)},
      {"HFDTE DATE:150724", Day(15)},
      {"HFDTEDATE:150724\r\nHFDTE150724", Day(15)},
      {"HFDTE140724\r\nHFDTE150724", Day(15)},  // a later date line is taken
  };
  for (const auto& [dates, day] : cases) {
    Received r;
    Receive(r, "AFLY01234\r\n" + dates + "\r\n" + kB + "\r\n");
    ASSERT_TRUE(r.ok) << dates;
    EXPECT_EQ(r.points[0].time, day + 12 * 3600) << dates;
  }
  // A repeated date line after midnight does not turn the clock back.
  Received r;
  Receive(r, kHead + Patched(kB, 1, "235959") + "\r\n" + Patched(kB, 1, "000001") + "\r\nHFDTE150724\r\n" +
                 Patched(kB, 1, "000011") + "\r\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.points[2].time, Day(16) + 11);
}

TEST(FlytecIgcRecords, CutPositionsAreSkippedAndLastLineIsDecoded) {
  Received r;
  const std::string bytes = kHead + kB.substr(0, 30) + "\r\n" + kB + "\r\n\x11" + Patched(kB, 5, "10") + "\x13";
  Receive(r, bytes);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.receiver.SkippedRecords(), 1);
  ASSERT_EQ(r.points.size(), 2u);
  EXPECT_EQ(r.points[0].flags, kNewSegment);
  EXPECT_EQ(r.points[1].time - r.points[0].time, 10u);
  // The raw image keeps every byte but the flow control.
  EXPECT_EQ(r.raw, kHead + kB.substr(0, 30) + "\r\n" + kB + "\r\n" + Patched(kB, 5, "10"));
}

TEST(FlytecIgcRecords, BytesAfterAFaultAreIgnored) {
  Received r;
  Receive(r, kHead + "?" + kB + "\r\n");
  EXPECT_FALSE(r.receiver.Feed(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(kB.data()), kB.size())));
  EXPECT_TRUE(r.points.empty());
}

}  // namespace
}  // namespace trelvik::flytec
