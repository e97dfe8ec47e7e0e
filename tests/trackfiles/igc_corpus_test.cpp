// Real flights from many recorders: decoding, round trips through the encoder,
// and a cross-check of our output with an independent IGC reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/atomic_file.hpp"
#include "geo/angles.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_verify.hpp"

namespace trelvik {
namespace {

using testing::FlightCorpusDir;
using testing::TempDir;

struct Flight {
  const char* file;
  int32_t fixes;    // B records that decode
  int32_t skipped;  // cut-off B records
  const char* maker;
};

// Fix counts as the corpus manifest lists them.
constexpr Flight kFlights[] = {
    {"gl-cambridge302-2018-4s.igc", 4183, 0, "CAM"},
    {"gl-filser-lx5000-2017-4s.igc", 4153, 0, "FIL"},
    {"gl-flarm-2016-4s.igc", 9762, 0, "FLA"},
    {"gl-lxcolibri-2017-1s.igc", 7662, 0, "LXN"},
    {"gl-lxnav-lx8080-2017-1s.igc", 22468, 0, "LXV"},
    {"gl-lxnav-lx9070-2024-1s.igc", 24794, 0, "LXV"},
    {"gl-midnight-nz-2009-3s.igc", 5367, 0, "BCD"},
    {"gl-naviter-oudie-2018-1s.igc", 18204, 0, "NAV"},
    {"gl-powerflarm-fusion-2022-1s.igc", 2398, 0, "FLA"},
    {"gl-zander-2010-4s.igc", 4960, 0, "ZAN"},
    {"pg-compeo-2008-10s.igc", 1070, 1, "BRA"},
    {"pg-compeoplus-2008-3s.igc", 3914, 0, "BRA"},
    {"pg-elementtrack-2023-5s.igc", 770, 0, "FLY"},
    {"pg-flytec5020-2007-3s.igc", 9166, 0, "FLY"},
    {"pg-flytec6030-2008-3s.igc", 4588, 0, "FLY"},
    {"pg-flytec6030-2019-4s.igc", 1697, 0, "FLY"},
};

std::string ReadFlight(const std::string& name) {
  std::string bytes;
  if (!ReadWholeFile(FlightCorpusDir() + "/" + name, bytes)) ADD_FAILURE() << "cannot read " << name;
  return bytes;
}

#define SKIP_WITHOUT_CORPUS() \
  if (FlightCorpusDir().empty()) GTEST_SKIP() << "flight corpus not present"

TEST(IgcCorpus, EveryFlightDecodesWithItsFixCount) {
  SKIP_WITHOUT_CORPUS();
  for (const Flight& flight : kFlights) {
    const IgcDecodeResult r = DecodeIgc(ReadFlight(flight.file));
    ASSERT_TRUE(r.Ok()) << flight.file << ": " << r.error;
    EXPECT_EQ(r.Count(), flight.fixes) << flight.file;
    EXPECT_EQ(r.skippedRecords, flight.skipped) << flight.file;
    EXPECT_EQ(r.maker, flight.maker) << flight.file;
    for (int32_t i = 1; i < r.Count(); ++i) {
      ASSERT_GE(r.points[i].time, r.points[i - 1].time) << flight.file << " fix " << i;
    }
  }
}

TEST(IgcCorpus, MidnightFlightContinuesOnTheNextDay) {
  SKIP_WITHOUT_CORPUS();
  const IgcDecodeResult r = DecodeIgc(ReadFlight("gl-midnight-nz-2009-3s.igc"));
  ASSERT_TRUE(r.Ok()) << r.error;
  const SystemTime first = DateFromTrackTime(r.points.front().time);
  const SystemTime last = DateFromTrackTime(r.points.back().time);
  EXPECT_EQ(first.day, 6);
  EXPECT_EQ(first.hour, 23);
  EXPECT_EQ(last.day, 7);
  EXPECT_EQ(last.hour, 4);
  EXPECT_LT(r.points.back().time - r.points.front().time, 5u * 3600u);
}

// What we write must read back as the same points. The one loss is by rule:
// a negative GPS altitude is written as 0.
TEST(IgcCorpus, EveryFlightRoundTripsThroughTheEncoder) {
  SKIP_WITHOUT_CORPUS();
  for (const Flight& flight : kFlights) {
    const IgcDecodeResult original = DecodeIgc(ReadFlight(flight.file));
    ASSERT_TRUE(original.Ok()) << flight.file;
    IgcEncoderInput input;
    input.points = original.points;
    input.signable = 1;
    input.wantSecurity = true;
    input.serial = original.serial;
    const EncodedIgc encoded = EncodeIgc(input);
    ASSERT_GT(encoded.length, 0);
    EXPECT_EQ(VerifyIgcText(encoded.text), IgcVerification::Passed) << flight.file;
    const IgcDecodeResult again = DecodeIgc(encoded.text);
    ASSERT_TRUE(again.Ok()) << flight.file << ": " << again.error;
    ASSERT_EQ(again.Count(), original.Count()) << flight.file;
    EXPECT_EQ(again.maker, "XTV");
    for (int32_t i = 0; i < original.Count(); ++i) {
      TrackPoint expected = original.points[i];
      expected.gpsAlt = std::max(expected.gpsAlt, 0);
      const TrackPoint& got = again.points[i];
      ASSERT_EQ(got.flags, expected.flags) << flight.file << " fix " << i;
      ASSERT_EQ(got.time, expected.time) << flight.file << " fix " << i;
      ASSERT_EQ(got.lat, expected.lat) << flight.file << " fix " << i;
      ASSERT_EQ(got.lon, expected.lon) << flight.file << " fix " << i;
      ASSERT_EQ(got.baroAlt, expected.baroAlt) << flight.file << " fix " << i;
      ASSERT_EQ(got.gpsAlt, expected.gpsAlt) << flight.file << " fix " << i;
    }
  }
}

// Runs a command and returns its standard output; nothing when it fails.
std::optional<std::string> RunCommand(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  return out;
}

struct GpxTrack {
  int count = 0;
  double firstLat = 0, firstLon = 0, lastLat = 0, lastLon = 0;
};

// The points of the GPX track named `name` in gpsbabel's output.
GpxTrack ReadGpxTrack(const std::string& gpx, const std::string& name) {
  GpxTrack track;
  size_t pos = gpx.find("<name>" + name + "</name>");
  if (pos == std::string::npos) return track;
  const size_t end = std::min(gpx.find("</trk>", pos), gpx.size());
  while ((pos = gpx.find("<trkpt lat=\"", pos)) < end) {
    const double lat = std::strtod(gpx.c_str() + pos + 12, nullptr);
    const size_t lonAt = gpx.find("lon=\"", pos) + 5;
    const double lon = std::strtod(gpx.c_str() + lonAt, nullptr);
    if (track.count == 0) {
      track.firstLat = lat;
      track.firstLon = lon;
    }
    track.lastLat = lat;
    track.lastLon = lon;
    ++track.count;
    pos = lonAt;
  }
  return track;
}

TEST(IgcCorpus, GpsbabelReadsWhatWeWrite) {
  SKIP_WITHOUT_CORPUS();
  if (std::system("command -v gpsbabel > /dev/null 2>&1") != 0) GTEST_SKIP() << "gpsbabel not on PATH";
  // The compeo flight is one gpsbabel rejects as the recorder wrote it; ours must be readable.
  for (const char* name : {"pg-compeo-2008-10s.igc", "pg-flytec5020-2007-3s.igc", "gl-midnight-nz-2009-3s.igc"}) {
    const IgcDecodeResult original = DecodeIgc(ReadFlight(name));
    ASSERT_TRUE(original.Ok());
    IgcEncoderInput input;
    input.points = original.points;
    input.signable = 1;
    input.wantSecurity = true;
    input.serial = "000";
    input.pilot = "Test Pilot";
    input.downloadTime = DateFromTrackTime(original.points.back().time);
    TempDir dir;
    const std::string path = dir.File("written.igc");
    ASSERT_FALSE(WriteFileAtomically(path, EncodeIgc(input).text));

    const std::optional<std::string> gpx = RunCommand("gpsbabel -t -i igc -f '" + path + "' -o gpx -F - 2>/dev/null");
    ASSERT_TRUE(gpx) << name;
    const GpxTrack track = ReadGpxTrack(*gpx, "GNSSALTTRK");
    EXPECT_EQ(track.count, original.Count()) << name;
    const double degrees = 180.0 / M_PI;
    const GeoPosition first = SemicircleToRadians(original.points.front().lat, original.points.front().lon);
    const GeoPosition last = SemicircleToRadians(original.points.back().lat, original.points.back().lon);
    // IGC positions carry a thousandth of a minute: 1.7e-5 degrees.
    EXPECT_NEAR(track.firstLat, first.lat * degrees, 2e-5) << name;
    EXPECT_NEAR(track.firstLon, first.lon * degrees, 2e-5) << name;
    EXPECT_NEAR(track.lastLat, last.lat * degrees, 2e-5) << name;
    EXPECT_NEAR(track.lastLon, last.lon * degrees, 2e-5) << name;
  }
}

}  // namespace
}  // namespace trelvik
