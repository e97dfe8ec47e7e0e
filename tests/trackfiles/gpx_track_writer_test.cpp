#include "trackfiles/gpx_track_writer.hpp"

#include <gtest/gtest.h>

#include "support/golden_file.hpp"
#include "trackfiles/gpx_track_reader.hpp"
#include "trackfiles/kml_animation.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

TrackTime At(uint16_t day, uint16_t hour, uint16_t second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, day, hour, 0, second, 0});
}

std::vector<TrackPoint> Points() {
  return {{kNewSegment, At(1, 10, 0), DegreesToSemicircle(47.0), DegreesToSemicircle(8.5), 15000, 0, 0},
          {0, At(1, 10, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15107, 0, 0},
          {kNewSegment, At(1, 10, 20), DegreesToSemicircle(47.002), DegreesToSemicircle(8.503), 15220, 0, 0}};
}

TEST(GpxTrackWriter, GivesTheGoldenFileByteForByteAndReadsBack) {
  const FileWriteResult written = WriteGpxTrack(Points(), At(2, 12, 0));
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/written.gpx"));
  const TrackFileRead read = ReadGpxTrack(written.bytes);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 3);  // one segment, whatever the flags said
  EXPECT_EQ(read.records.points[1].gpsAlt, 15107);
}

TEST(GpxTrackWriter, OnePointHasBoundsOfItself) {
  const std::vector<TrackPoint> one(1, Points()[1]);
  const std::string text = WriteGpxTrack(one, At(2, 12, 0)).bytes;
  EXPECT_NE(text.find("<bounds minlat=\"47.001000\" minlon=\"8.501000\" maxlat=\"47.001000\" maxlon=\"8.501000\"/>"),
            std::string::npos);
}

TEST(KmlAnimation, GivesTheGoldenFileByteForByte) {
  const FileWriteResult written = WriteKmlAnimation(Points(), true);
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/animation.kml"));
  const std::string local = WriteKmlAnimation(Points(), false).bytes;
  EXPECT_NE(local.find("<when>2012-07-01T10:00:00</when>"), std::string::npos);
  EXPECT_EQ(KmlAnimationFileName(Points()[0]), "2012-07-01_10-00");
}

TEST(KmlAnimation, NeedsTwoPoints) {
  const FileWriteResult written = WriteKmlAnimation(std::vector<TrackPoint>(1), true);
  ASSERT_TRUE(written.error);
  EXPECT_EQ(written.error->text, "Less than 2 positions selected");
  EXPECT_EQ(written.error->caption, "Save track animation file");
}

}  // namespace
}  // namespace trelvik
