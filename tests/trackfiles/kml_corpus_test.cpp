// Every real flight of the corpus through the IGC-to-KML conversion: the file
// is well-formed, its placemarks name the points the optimisation chose, and
// its track reads back; signed, it reads back as signed.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "base/atomic_file.hpp"
#include "kml_test_expat.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/kml_command_line.hpp"
#include "trackfiles/kml_track_reader.hpp"
#include "trackfiles/kml_trip.hpp"

namespace trelvik {
namespace {

using testing::ScriptedUserInterface;

std::string Indexes(std::initializer_list<int32_t> indexes) {
  std::string text;
  for (int32_t index : indexes) text += (text.empty() ? "" : " ") + std::to_string(index);
  return text;
}

template <size_t N>
std::string Indexes(const std::array<int32_t, N>& indexes) {
  std::string text;
  for (int32_t index : indexes) text += (text.empty() ? "" : " ") + std::to_string(index);
  return text;
}

// type -> track_idx of every distance placemark in the file.
std::map<std::string, std::string> PlacemarkIndexes(const std::string& text) {
  static const std::regex placemark("type=\"(distance_[a-z0-9_]+)\">\r\n        <FsInfo track_idx=\"([0-9 ]+)\" />");
  std::map<std::string, std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), placemark); it != std::sregex_iterator(); ++it) {
    found[(*it)[1]] = (*it)[2];
  }
  return found;
}

TEST(KmlCorpus, EveryFlightConvertsWithTheOptimisedIndexes) {
  const std::string corpus = testing::FlightCorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "../shared/flights is absent";
  testing::TempDir dir;
  const OptimiseOptions options;  // the default gap of 800 m
  int flights = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".igc") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    ++flights;
    std::string igc;
    ASSERT_TRUE(ReadWholeFile(entry.path().string(), igc));
    const IgcDecodeResult decoded = DecodeIgc(igc);
    ASSERT_TRUE(decoded.Ok()) << decoded.error;
    ASSERT_FALSE(WriteFileAtomically(dir.File(name + ".igc"), igc));

    ScriptedUserInterface ui;
    ASSERT_EQ(ConvertIgcToKml(ui, dir.File(name), false, options), 0);
    std::string kml;
    ASSERT_TRUE(ReadWholeFile(dir.File(name + ".kml"), kml));
    EXPECT_EQ(testing::ExpatProblem(kml), "");

    OptimisationResult r;
    ASSERT_EQ(OptimiseFlight(decoded.points, options, r), 0);
    std::map<std::string, std::string> expected = {
        {"distance_5_point", Indexes(r.fivePoints.index)},
        {"distance_4_point", Indexes(r.fourPoints.index)},
        {"distance_3_point", Indexes(r.threePoints.index)},
        {"distance_open", Indexes(r.twoPoints.index)},
    };
    const auto& oar = r.outAndReturn;
    if (oar.distance != 0) expected["distance_out_and_return"] = Indexes({oar.start, oar.turnpoint, oar.end});
    for (const auto& [type, t] : {std::pair{"distance_flat_triangle", r.flatTriangle}, {"distance_fai_triangle", r.faiTriangle}}) {
      if (t.distance != 0) expected[type] = Indexes({t.start, t.turnpoint1, t.turnpoint2, t.turnpoint3, t.end});
    }
    EXPECT_EQ(PlacemarkIndexes(kml), expected);
    EXPECT_EQ(kml.find("<!--Out-and-return not computed-->") != std::string::npos, oar.distance == 0);
    EXPECT_EQ(kml.find("<!--FAI triangle not computed-->") != std::string::npos, r.faiTriangle.distance == 0);

    const TrackFileRecords read = ReadKmlTrack(kml).records;
    ASSERT_EQ(read.Count(), decoded.Count());
    EXPECT_EQ(read.signatureValid, 0);
    EXPECT_EQ(read.hasPressureAltitude, 1);
    for (size_t i = 0; i < decoded.points.size(); i += 97) {
      EXPECT_EQ(read.points[i].time, decoded.points[i].time);
      EXPECT_EQ(read.points[i].baroAlt, decoded.points[i].baroAlt);
    }

    // The same flight as an instrument's own log: signed, and read back so.
    KmlTripInput input;
    input.points = decoded.points;
    input.isSigned = 1;
    input.hasPressureAltitude = 1;
    input.utcTimes = 1;
    input.optimisation = r;
    TextBuffer buffer(kKmlTripBufferStart);
    ASSERT_EQ(BuildKmlTrip(buffer, input, "Corpus", decoded.maker), 0);
    const TrackFileRecords signedRead = ReadKmlTrack(buffer.Text()).records;
    EXPECT_EQ(signedRead.signatureValid, 2);
    EXPECT_EQ(signedRead.utcTimes, 1);
    // The IGC reader may inform about cut-off records; nothing may fail.
    for (const auto& box : ui.boxes) EXPECT_EQ(box.kind, MessageKind::Information) << box.text;
  }
  EXPECT_GT(flights, 0);
}

}  // namespace
}  // namespace trelvik
