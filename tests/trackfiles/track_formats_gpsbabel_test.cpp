// Our readers read what gpsbabel writes in their formats, and gpsbabel reads
// what our writers write. Skipped where gpsbabel (or xmllint) is not installed.
#include <gtest/gtest.h>

#include <cmath>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "support/run_command.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/gpx_track_writer.hpp"
#include "trackfiles/kml_animation.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {
namespace {

using testing::RunCommand;
using testing::TempDir;
using testing::ToolInstalled;

// A climbing turn in both hemispheres' signs, one point every 3 s, altitudes
// with tenths and below sea level.
std::vector<TrackPoint> Flight() {
  std::vector<TrackPoint> points;
  const TrackTime start = TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 23, 58, 0, 0});
  for (int i = 0; i < 120; ++i) {
    TrackPoint point;
    point.flags = i == 0 ? kNewSegment : 0;
    point.time = start + 3 * i;
    point.lat = DegreesToSemicircle(-33.5 + 0.0003 * std::sin(i / 10.0));
    point.lon = DegreesToSemicircle(-70.25 + 0.0004 * i);
    point.gpsAlt = -37 + 131 * i;
    points.push_back(point);
  }
  return points;
}

// What gpsbabel makes of `gpx` in its format `type`.
std::optional<std::string> Gpsbabel(TempDir& dir, const std::string& inType, const std::string& text,
                                    const std::string& outType) {
  const std::string in = dir.File("in");
  if (WriteFileAtomically(in, text)) return std::nullopt;
  // To standard output: gpsbabel adds its own extension to some file names.
  return RunCommand("gpsbabel -t -i " + inType + " -f '" + in + "' -o " + outType + " -F - 2>/dev/null");
}

struct Precision {
  const char* format;   // our table's row
  const char* babel;    // gpsbabel's name of it
  double degrees;       // positions keep this much
  int32_t decimetres;   // altitudes keep this much
  uint32_t seconds = 0; // times keep this much
};

const Precision kShared[] = {
    {"ozi-track", "ozi", 1e-6, 2},          // gpsbabel writes tenths of feet
    {"magellan", "magellan", 1e-5, 5},      // thousandths of a minute, whole metres
    {"gpx-track", "gpx", 1e-6, 1},
};

void ExpectSameFlight(const std::vector<TrackPoint>& got, const Precision& precision) {
  const std::vector<TrackPoint> flight = Flight();
  ASSERT_EQ(got.size(), flight.size()) << precision.format;
  for (size_t i = 0; i < flight.size(); ++i) {
    EXPECT_NEAR(SemicircleToDegrees(got[i].lat), SemicircleToDegrees(flight[i].lat), precision.degrees)
        << precision.format << " " << i;
    EXPECT_NEAR(SemicircleToDegrees(got[i].lon), SemicircleToDegrees(flight[i].lon), precision.degrees)
        << precision.format << " " << i;
    EXPECT_NEAR(got[i].gpsAlt, flight[i].gpsAlt, precision.decimetres) << precision.format << " " << i;
    EXPECT_NEAR(got[i].time, flight[i].time, precision.seconds) << precision.format << " " << i;
  }
}

TEST(TrackFormatsGpsbabel, OurReadersReadWhatGpsbabelWrites) {
  if (!ToolInstalled("gpsbabel")) GTEST_SKIP() << "gpsbabel is not on PATH";
  TempDir dir;
  const std::string gpx = WriteGpxTrack(Flight(), 0).bytes;
  for (const Precision& precision : kShared) {
    const std::optional<std::string> written = Gpsbabel(dir, "gpx", gpx, precision.babel);
    ASSERT_TRUE(written) << precision.babel;
    const TrackFileRead read = FindTrackFileFormat(precision.format)->read(*written, FileReadContext{});
    ASSERT_TRUE(read.Ok()) << precision.format << ": " << read.error.text;
    ExpectSameFlight(read.records.points, precision);
  }
}

TEST(TrackFormatsGpsbabel, GpsbabelReadsWhatOurWritersWrite) {
  if (!ToolInstalled("gpsbabel")) GTEST_SKIP() << "gpsbabel is not on PATH";
  TempDir dir;
  TrackFileRecords records;
  records.points = Flight();
  for (const Precision& precision : kShared) {
    const TrackFileFormat& row = *FindTrackFileFormat(precision.format);
    if (row.write == nullptr) continue;
    const std::string ours = row.write(records, TrackWriteOptions{}).bytes;
    const std::optional<std::string> gpx = Gpsbabel(dir, precision.babel, ours, "gpx");
    ASSERT_TRUE(gpx) << precision.babel;
    const TrackFileRead back = FindTrackFileFormat("gpx-track")->read(*gpx, FileReadContext{});
    ASSERT_TRUE(back.Ok()) << precision.format << ": " << back.error.text;
    // Our Ozi files carry whole feet and times to 8.64 ms, which gpsbabel
    // truncates to the second below.
    Precision kept = precision;
    if (std::string_view(precision.format) == "ozi-track") kept.decimetres = 2, kept.seconds = 1;
    ExpectSameFlight(back.records.points, kept);
  }
  // The animation track, through gpsbabel's KML reader.
  const std::optional<std::string> fromKml = Gpsbabel(dir, "kml", WriteKmlAnimation(Flight(), true).bytes, "gpx");
  ASSERT_TRUE(fromKml);
  const TrackFileRead animation = FindTrackFileFormat("gpx-track")->read(*fromKml, FileReadContext{});
  ASSERT_TRUE(animation.Ok()) << animation.error.text;
  ExpectSameFlight(animation.records.points, Precision{"kml animation", "kml", 1e-6, 10});
}

TEST(TrackFormatsGpsbabel, XmlOutputsAreWellFormed) {
  if (!ToolInstalled("xmllint")) GTEST_SKIP() << "xmllint is not on PATH";
  TempDir dir;
  const std::string gpx = dir.File("track.gpx"), kml = dir.File("animation.kml");
  ASSERT_FALSE(WriteFileAtomically(gpx, WriteGpxTrack(Flight(), 0).bytes));
  ASSERT_FALSE(WriteFileAtomically(kml, WriteKmlAnimation(Flight(), false).bytes));
  EXPECT_TRUE(RunCommand("xmllint --noout '" + gpx + "' '" + kml + "' 2>&1"));
}

}  // namespace
}  // namespace trelvik
