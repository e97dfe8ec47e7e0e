#include "trackfiles/track_file_formats.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "geo/transverse_mercator.hpp"
#include "records/track_time.hpp"
#include "support/golden_file.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

// An IGC angle in thousandths of a minute, converted as the IGC layout says.
Semicircle FromMilliMinutes(int64_t milliMinutes) {
  const double scaled = static_cast<double>(milliMinutes) * 2147483648.0 / 10800000.0;
  return static_cast<Semicircle>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

TrackTime At(int hour, int minute, int second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, static_cast<uint16_t>(hour), static_cast<uint16_t>(minute),
                                      static_cast<uint16_t>(second), 0});
}

// A point of the .dat golden file: zone 32, band T.
TrackPoint DatPoint(TrackTime time, double easting, double northing, int32_t gpsAlt) {
  UtmPosition utm;
  utm.easting = easting;
  utm.northing = northing;
  utm.zone = 32;
  utm.band = 'T';
  const GeoPosition position = UtmToLatLon(utm);
  return TrackPoint{0, time, RadiansToSemicircle(position.lat), RadiansToSemicircle(position.lon), gpsAlt, 0, 0};
}

struct GoldenTrack {
  const char* format;
  const char* file;
  int32_t count;
  TrackPoint second;  // the second point, every field as the file gives it
  int32_t signatureValid;
  int32_t utcTimes;
  int32_t hasPressureAltitude;
  bool rawImage;
};

// What each golden file holds, worked out from its text.
const GoldenTrack kGoldenTracks[] = {
    {"igc", "track_files/flight.igc", 3,
     TrackPoint{0, At(10, 0, 10), FromMilliMinutes(47 * 60000 + 60), FromMilliMinutes(8 * 60000 + 30060), 15100,
                1489, 0},
     0, 0, 1, true},
    {"kml-track", "track_files/flight.kml", 5,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15100, 1489, 0}, 2, 1, 1,
     false},
    {"gpx-track", "track_files/flight.gpx", 3,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15107, 0, 0}, 0, 0, 0,
     false},
    {"ozi-track", "track_files/flight.plt", 3,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15106, 0, 0}, 0, 0, 0,
     false},
    {"flightlog-dat", "track_files/flight.dat", 3, DatPoint(At(10, 0, 10), 500076, 5206111, 15107), 0, 0, 0, false},
    {"topnavigator", "track_files/flight.tnc", 5,
     TrackPoint{0, At(10, 0, 1), RoundHalfAway(282006 * 1988.410785185), RoundHalfAway(51006 * 1988.410785185), 15110,
                0, 0},
     0, 0, 0, false},
    {"mapsource", "track_files/flight.mps", 3,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15100, 0, 0}, 0, 0, 0,
     false},
    {"magellan", "track_files/flight.log", 3,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15109, 0, 0}, 0, 0, 0,
     false},
    {"csv-track", "track_files/flight.csv", 3,
     TrackPoint{0, At(10, 0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15110, 1489, 0}, 0, 0, 1,
     false},
};

void ExpectSamePoint(const TrackPoint& actual, const TrackPoint& expected, const std::string& label) {
  EXPECT_EQ(actual.flags, expected.flags) << label;
  EXPECT_EQ(actual.time, expected.time) << label;
  EXPECT_EQ(actual.lat, expected.lat) << label;
  EXPECT_EQ(actual.lon, expected.lon) << label;
  EXPECT_EQ(actual.gpsAlt, expected.gpsAlt) << label;
  EXPECT_EQ(actual.baroAlt, expected.baroAlt) << label;
}

TEST(TrackFileFormats, EveryGoldenFileReadsThroughItsRow) {
  for (const GoldenTrack& golden : kGoldenTracks) {
    const TrackFileFormat* row = FindTrackFileFormat(golden.format);
    ASSERT_NE(row, nullptr) << golden.format;
    ASSERT_NE(row->read, nullptr) << golden.format;
    const std::string bytes = GoldenFile(golden.file);
    ASSERT_FALSE(bytes.empty()) << golden.file;
    EXPECT_EQ(TrackFileFormatForExtension(FileExtensionOf(golden.file)), row) << golden.file;

    const TrackFileRead read = row->read(bytes, FileReadContext{});
    ASSERT_EQ(read.status, FileReadStatus::Read) << golden.format << ": " << read.error.text;
    EXPECT_TRUE(read.notices.empty()) << golden.format;
    ASSERT_EQ(read.records.Count(), golden.count) << golden.format;
    EXPECT_EQ(read.records.points[0].time, At(10, 0, 0)) << golden.format;
    ExpectSamePoint(read.records.points[1], golden.second, golden.format);
    EXPECT_EQ(read.records.signatureValid, golden.signatureValid) << golden.format;
    EXPECT_EQ(read.records.utcTimes, golden.utcTimes) << golden.format;
    EXPECT_EQ(read.records.hasPressureAltitude, golden.hasPressureAltitude) << golden.format;
    EXPECT_EQ(read.records.rawIgc.has_value(), golden.rawImage) << golden.format;
    if (golden.rawImage) {
      EXPECT_EQ(read.records.rawIgc->bytes, bytes) << golden.format;
    }
  }
}

TEST(TrackFileFormats, EveryReadableRowHasAGoldenFile) {
  std::set<std::string> golden;
  for (const GoldenTrack& file : kGoldenTracks) golden.insert(file.format);
  for (const TrackFileFormat& row : TrackFileFormats()) {
    if (row.read != nullptr) {
      EXPECT_TRUE(golden.count(std::string(row.name))) << row.name;
    }
  }
}

TEST(TrackFileFormats, KmlWriterGivesTheGoldenFileByteForByte) {
  const TrackFileFormat* row = FindTrackFileFormat("kml-track");
  ASSERT_NE(row, nullptr);
  ASSERT_NE(row->write, nullptr);
  // The points of the golden file, stated by hand.
  TrackFileRecords records;
  const double lat[] = {47.0, 47.001, 47.002, 47.0015, 47.0005};
  const double lon[] = {8.5, 8.501, 8.503, 8.504, 8.502};
  const int32_t gps[] = {1500, 1510, 1522, 1515, 1490};
  const int32_t baro[] = {1480, 1489, 1500, 1494, 1470};
  for (int i = 0; i < 5; ++i) {
    records.points.push_back(TrackPoint{i == 0 ? kNewSegment : 0, At(10, 0, 10 * i), DegreesToSemicircle(lat[i]),
                                        DegreesToSemicircle(lon[i]), gps[i] * 10, baro[i], 0});
  }
  records.signatureValid = 2;
  records.utcTimes = 1;
  records.hasPressureAltitude = 1;
  records.instrument = "Flytec 6030";
  const FileWriteResult written = row->write(records, TrackWriteOptions{});
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/flight.kml"));
}

TEST(TrackFileFormats, EveryRowThatReadsAndWritesRoundTrips) {
  for (const GoldenTrack& golden : kGoldenTracks) {
    const TrackFileFormat* row = FindTrackFileFormat(golden.format);
    if (row->read == nullptr || row->write == nullptr) continue;
    const TrackFileRead first = row->read(GoldenFile(golden.file), FileReadContext{});
    ASSERT_TRUE(first.Ok()) << golden.format;
    const FileWriteResult written = row->write(first.records, TrackWriteOptions{});
    ASSERT_FALSE(written.error) << golden.format << ": " << written.error->text;
    const TrackFileRead again = row->read(written.bytes, FileReadContext{});
    ASSERT_TRUE(again.Ok()) << golden.format;
    ASSERT_EQ(again.records.Count(), first.records.Count()) << golden.format;
    for (size_t i = 0; i < first.records.points.size(); ++i) {
      ExpectSamePoint(again.records.points[i], first.records.points[i], golden.format + std::to_string(i));
    }
    EXPECT_EQ(again.records.signatureValid, first.records.signatureValid) << golden.format;
    EXPECT_EQ(again.records.utcTimes, first.records.utcTimes) << golden.format;
    EXPECT_EQ(again.records.hasPressureAltitude, first.records.hasPressureAltitude) << golden.format;
  }
}

TEST(TrackFileFormats, ErrorsComeBackWithTextCaptionAndLine) {
  struct Case {
    const char* format;
    std::string bytes;
    FileMessage error;
  };
  const Case cases[] = {
      {"igc", "AFLY050\r\nHFDTE010712\r\nB2400004700000N00830000EA0148001500\r\n",
       {3, "Pos. error 2 on line 3", "Reading IGC log file"}},
      {"igc", "HFDTE010712\r\n", {0, "No A-record found", "Reading IGC log file"}},
      {"kml-track", "<?xml version=\"1.0\"?>\r\n<Document></Document>\r\n",
       {0, "No track log found", "Parsing track log file"}},
      {"gpx-track", "<gpx></gpx>", {0, "Missing opening tag '<?xml>'", "Parsing track log file"}},
      {"gpx-track", "<?xml version=\"1.0\"?><gpx></gpx>", {0, "No tracks found", "Parsing track log file"}},
  };
  for (const Case& c : cases) {
    const TrackFileRead read = FindTrackFileFormat(c.format)->read(c.bytes, FileReadContext{});
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.error.text;
    EXPECT_EQ(read.records.Count(), 0) << c.error.text;
    EXPECT_EQ(read.error.line, c.error.line) << c.error.text;
    EXPECT_EQ(read.error.text, c.error.text);
    EXPECT_EQ(read.error.caption, c.error.caption) << c.error.text;
  }
}

// Two copies of the golden trip: the reader asks which one.
std::string TwoTrips() {
  const std::string file = GoldenFile("track_files/flight.kml");
  const size_t begin = file.find("  <Folder>");
  const size_t end = file.find("</Document>");
  return file.substr(0, end) + file.substr(begin, end - begin) + file.substr(end);
}

TEST(TrackFileFormats, AQuestionComesBackAndItsAnswerIsReadAgain) {
  const TrackFileFormat& kml = *FindTrackFileFormat("kml-track");
  const std::string text = TwoTrips();

  const TrackFileRead asking = kml.read(text, FileReadContext{});
  ASSERT_EQ(asking.status, FileReadStatus::NeedsAnswer);
  EXPECT_EQ(asking.question.kind, FileQuestionKind::TrackList);
  EXPECT_EQ(asking.question.trackList.title, "Track List");
  EXPECT_EQ(asking.question.trackList.lines,
            (std::vector<std::string>{"2012-07-01   10:00:00", "2012-07-01   10:00:00"}));
  EXPECT_EQ(asking.records.Count(), 0);

  FileReadContext answered;
  answered.answers = {1};
  const TrackFileRead second = kml.read(text, answered);
  ASSERT_EQ(second.status, FileReadStatus::Read);
  EXPECT_EQ(second.records.Count(), 5);

  answered.answers = {kTrackListCancelled};
  EXPECT_EQ(kml.read(text, answered).status, FileReadStatus::Cancelled);
  answered.answers = {kTrackListNoSelection};
  const TrackFileRead none = kml.read(text, answered);
  EXPECT_EQ(none.status, FileReadStatus::Failed);
  EXPECT_EQ(none.error.text, "Dialog box error");
  EXPECT_EQ(none.error.caption, "Select track");

  FileReadContext cannotAsk;
  cannotAsk.canAsk = false;
  const TrackFileRead first = kml.read(text, cannotAsk);
  ASSERT_EQ(first.status, FileReadStatus::Read);
  EXPECT_EQ(first.records.signatureValid, 2);
}

TEST(TrackFileFormats, NoticesComeOnceEachAndBeforeTheQuestionAfterThem) {
  const std::string file = GoldenFile("track_files/flight.kml");
  const size_t begin = file.find("  <Folder>");
  const size_t end = file.find("</Document>");
  std::string text = file.substr(0, end);
  for (int i = 0; i < 50; ++i) text += file.substr(begin, end - begin);
  text += file.substr(end);

  std::vector<std::string> events;
  const TrackFileRead read = ReadAnswering<TrackFileRecords>(
      [&](const FileReadContext& context) { return FindTrackFileFormat("kml-track")->read(text, context); },
      FileReadContext{},
      [&](const FileQuestion& question) {
        events.push_back("asked " + std::to_string(question.trackList.lines.size()));
        return 49;
      },
      [&](const FileNotice& notice) { events.push_back(notice.text); });
  ASSERT_EQ(read.status, FileReadStatus::Read);
  EXPECT_EQ(read.records.Count(), 5);
  EXPECT_EQ(events, (std::vector<std::string>{"Number of tracks limited to 50", "asked 50"}));
}

TEST(TrackFileFormats, DialogListsFollowTheirOrder) {
  EXPECT_EQ(FileTypeFilterList(TrackOpenChoices()),
            (std::vector<std::string>{
                "FlightLog files (*.kml)", "Ozi files (*.plt)", "FlightLog (old) files (*.dat)",
                "TopNavigator files (*.tnc)", "MapSource files (*.mps)", "Magellan files (*.log)", "IGC files (*.igc)",
                "GPX files (*.gpx)", "CSV files (*.csv)", "FlightLog files (*.*)", "Ozi files (*.*)",
                "FlightLog (old) files (*.*)", "TopNavigator files (*.*)", "MapSource files (*.*)",
                "Magellan files (*.*)", "IGC files (*.*)", "GPX files (*.*)", "CSV files (*.*)"}));
  std::vector<std::string> saved;
  for (const FileTypeChoice& choice : TrackSaveChoices()) saved.emplace_back(choice.typeName);
  EXPECT_EQ(saved, (std::vector<std::string>{"Ozi", "MapSource", "TopNavigator", "GPX", "CSV"}));
}

TEST(TrackFileFormats, ADialogEntryMapsToItsRow) {
  struct Case {
    size_t entry;
    std::optional<size_t> choice;
    bool typed;
  };
  const Case cases[] = {{0, std::nullopt, false}, {1, 0, true},  {9, 8, true},
                        {10, 0, false},           {18, 8, false}, {19, std::nullopt, false}};
  for (const Case& c : cases) {
    const std::optional<FileTypeEntry> entry = FileTypeOfEntry(c.entry, 9);
    ASSERT_EQ(entry.has_value(), c.choice.has_value()) << c.entry;
    if (!entry) continue;
    EXPECT_EQ(entry->choice, *c.choice) << c.entry;
    EXPECT_EQ(entry->typed, c.typed) << c.entry;
  }
}

TEST(TrackFileFormats, ExtensionsAreExactAndUnique) {
  std::set<std::string_view> seen;
  for (const TrackFileFormat& row : TrackFileFormats()) {
    for (const std::string_view extension : row.extensions) EXPECT_TRUE(seen.insert(extension).second) << extension;
  }
  EXPECT_EQ(TrackFileFormatForExtension(".IGC"), nullptr);
  EXPECT_EQ(TrackFileFormatForExtension(".txt"), nullptr);
  EXPECT_EQ(FileExtensionOf("dir.v2/flight"), "");
  EXPECT_EQ(FileExtensionOf("dir/flight.tar.igc"), ".igc");
}

}  // namespace
}  // namespace trelvik
