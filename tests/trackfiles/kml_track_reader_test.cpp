#include "trackfiles/kml_track_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/c_format.hpp"

#include "support/scripted_user_interface.hpp"
#include "file_read_shown.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::Shown;

using testing::ScriptedUserInterface;

// A trip folder built by hand from the file layout; the hash was computed
// outside the program over the key and
// "2012-07-01T10:00:00Z" "Flytec 6030" "2012-07-01T18:00:00Z" "0 5 10" "500 505 510"
// "8.500000,47.000000,510 8.510000,47.010000,515 8.520000,-47.020000,-12".
constexpr char kGoodHash[] = "330228985C58D7C24BFC27AC0A2BBCB6DB94FFC3";

struct Parts {
  std::string fsInfo = "time_of_first_point=\"2012-07-01T10:00:00Z\"\r\n                instrument=\"Flytec 6030\""
                       "\r\n                downloaded=\"2012-07-01T18:00:00Z\"\r\n                hash=\"" +
                       std::string(kGoodHash) + "\"";
  std::string offsets = "0 5 10\r\n";
  std::string pressure = "500 505 510\r\n";
  bool withPressure = true;
  std::string coordinates = "8.500000,47.000000,510 8.510000,47.010000,515 8.520000,-47.020000,-12\r\n";
};

std::string Placemark(const Parts& parts) {
  std::string text =
      "    <Placemark>\r\n      <Metadata src=\"Trelvik\" v=\"4.72\" type=\"track\">\r\n        <FsInfo " +
      parts.fsInfo + ">\r\n          <SecondsFromTimeOfFirstPoint>\r\n" + parts.offsets +
      "          </SecondsFromTimeOfFirstPoint>\r\n";
  if (parts.withPressure) text += "          <PressureAltitude>\r\n" + parts.pressure + "          </PressureAltitude>\r\n";
  text += "        </FsInfo>\r\n      </Metadata>\r\n      <name>Tracklog</name>\r\n      <LineString>\r\n"
          "        <altitudeMode>absolute</altitudeMode>\r\n        <coordinates>\r\n" +
          parts.coordinates + "        </coordinates>\r\n      </LineString>\r\n    </Placemark>\r\n";
  return text;
}

std::string Folder(const std::string& placemarks) {
  return "  <Folder>\r\n    <name>Trip</name>\r\n    <Placemark>\r\n      <Metadata src=\"Trelvik\" v=\"4.72\" "
         "type=\"distance_open\">\r\n        <FsInfo track_idx=\"0 2\" />\r\n      </Metadata>\r\n"
         "      <LineString><coordinates>1,1,1 2,2,2</coordinates></LineString>\r\n    </Placemark>\r\n" +
         placemarks + "  </Folder>\r\n";
}

std::string File(const std::string& folders) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n<open>1</open>\r\n" + folders + "</Document>\r\n";
}

std::string Trip(const Parts& parts = {}) { return File(Folder(Placemark(parts))); }

TEST(KmlTrackReader, ReadsAHandBuiltSignedTrip) {
  ScriptedUserInterface ui;
  const TrackFileRecords result = Shown(ui, ReadKmlTrack(Trip()));
  EXPECT_TRUE(ui.boxes.empty());
  ASSERT_EQ(result.Count(), 3);
  EXPECT_EQ(result.signatureValid, 2);
  EXPECT_EQ(result.utcTimes, 1);
  EXPECT_EQ(result.hasPressureAltitude, 1);
  const TrackTime base = TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, 0, 0});
  const TrackPoint& first = result.points[0];
  EXPECT_EQ(first.flags, kNewSegment);
  EXPECT_EQ(first.time, base);
  EXPECT_EQ(first.lat, DegreesToSemicircle(47.0));
  EXPECT_EQ(first.lon, DegreesToSemicircle(8.5));
  EXPECT_EQ(first.gpsAlt, 5100);
  EXPECT_EQ(first.baroAlt, 500);
  const TrackPoint& last = result.points[2];
  EXPECT_EQ(last.flags, 0);
  EXPECT_EQ(last.time, base + 10);
  EXPECT_EQ(last.lat, DegreesToSemicircle(-47.02));
  EXPECT_EQ(last.gpsAlt, -120);  // whole negative metres come back unchanged
  EXPECT_EQ(last.baroAlt, 510);
}

struct HashCase {
  const char* name;
  Parts parts;
  int signatureValid;
};

Parts With(std::string Parts::*field, std::string value) {
  Parts parts;
  parts.*field = std::move(value);
  return parts;
}

Parts WithReplaced(std::string Parts::*field, const std::string& from, const std::string& to) {
  Parts parts;
  std::string& text = parts.*field;
  text.replace(text.find(from), from.size(), to);
  return parts;
}

TEST(KmlTrackReader, HashFollowsEveryHashedTextAndNothingElse) {
  const HashCase cases[] = {
      {"unchanged", Parts{}, 2},
      {"8.5 written short", WithReplaced(&Parts::coordinates, "8.500000,", "8.5,"), 2},
      {"altitude with fraction", WithReplaced(&Parts::coordinates, ",510 ", ",509.5 "), 2},
      {"offsets over lines", With(&Parts::offsets, "  0   5\r\n\r\n 10 "), 2},
      {"middle item short", WithReplaced(&Parts::coordinates, "8.510000,47.010000,515", "8.51,47.01,515.0"), 2},
      {"trailing comma, leading zero", WithReplaced(&Parts::coordinates, ",515 8.520000", ",515, 08.520000"), 2},
      {"pressure items unusual", With(&Parts::pressure, "0500,505;510"), 2},
      {"pilot ids", WithReplaced(&Parts::fsInfo, "instrument", "civl_pilot_id=\"7\" comp_pilot_id=\"3\" instrument"), 2},
      {"one coordinate digit", WithReplaced(&Parts::coordinates, "8.500000,", "8.500001,"), 0},
      {"altitude", WithReplaced(&Parts::coordinates, ",515 ", ",516 "), 0},
      {"offset", With(&Parts::offsets, "0 5 11"), 0},
      {"pressure", With(&Parts::pressure, "500 505 511"), 0},
      {"instrument", WithReplaced(&Parts::fsInfo, "Flytec 6030", "Flytec 6031"), 0},
      {"downloaded", WithReplaced(&Parts::fsInfo, "18:00:00Z", "18:00:01Z"), 0},
      {"lower-case hash", WithReplaced(&Parts::fsInfo, "330228985C", "330228985c"), 0},
      {"no hash", WithReplaced(&Parts::fsInfo, "hash=", "hush="), 0},
  };
  for (const HashCase& c : cases) {
    ScriptedUserInterface ui;
    const TrackFileRecords result = Shown(ui, ReadKmlTrack(Trip(c.parts)));
    EXPECT_EQ(result.Count(), 3) << c.name;
    EXPECT_EQ(result.signatureValid, c.signatureValid) << c.name;
    EXPECT_EQ(result.utcTimes, c.signatureValid == 2 ? 1 : 0) << c.name;
  }
}

// An item taken into the hash as it stands must be exactly the formatted
// text the hash covers; anything else is formatted again.
TEST(KmlValues, CanonicalItemsAreTheirOwnHashedText) {
  const std::pair<const char*, bool> coordinates[] = {
      {"8.500000,47.000000,510", true},    {"-8.500000,-47.000000,-12", true}, {"0.000000,0.000000,0", true},
      {"179.999999,89.999999,8848", true}, {"8.5,47.000000,510", false},       {"8.500000,47.000000,510.0", false},
      {"+8.500000,47.000000,510", false},  {"08.500000,47.000000,510", false}, {"8.500000,47.000000,0510", false},
      {"8.500000,47.000000,-0", false},    {"-0.000000,1.000000,1", false},    {"8.500000,47.000000,510,", false},
      {"8.500000,47.000000", false},       {"8.5000000,47.000000,1", false},
  };
  for (const auto& [item, canonical] : coordinates) {
    EXPECT_EQ(IsCanonicalKmlCoordinate(item), canonical) << item;
    const char* cursor = item;
    KmlCoordinate value;
    ASSERT_EQ(NextKmlCoordinate(cursor, value), kKmlListItem) << item;
    std::string formatted;
    AppendFixed(formatted, value.lon, 6);
    formatted += ',';
    AppendFixed(formatted, value.lat, 6);
    formatted += ',';
    AppendInteger(formatted, value.alt);
    if (canonical) {
      EXPECT_EQ(formatted, item);
    }
  }
  const std::pair<const char*, bool> integers[] = {{"0", true},    {"510", true}, {"-12", true}, {"-0", false},
                                                   {"012", false}, {"+5", false}, {"", false}};
  for (const auto& [item, canonical] : integers) {
    EXPECT_EQ(IsCanonicalKmlInteger(item), canonical) << item;
    const char* cursor = item;
    int32_t value = 0;
    if (canonical && NextKmlInteger(cursor, value) == kKmlListItem) {
      std::string formatted;
      AppendInteger(formatted, value);
      EXPECT_EQ(formatted, item);
    }
  }
}

struct ErrorCase {
  const char* name;
  std::string text;
  const char* message;
};

TEST(KmlTrackReader, ErrorsAreShownUnderTheReadersCaption) {
  Parts noPressureEnd = With(&Parts::pressure, "500 505");
  Parts longPressure = With(&Parts::pressure, "500 505 510 515");
  Parts badPressure = With(&Parts::pressure, "500 x 510");
  Parts noFsInfo = With(&Parts::fsInfo, "");
  const ErrorCase cases[] = {
      {"utf-16", "\xFF\xFE" + Trip(), "Unknown BOM before opening tag"},
      {"no track", File("<Folder><Placemark><name>x</name></Placemark></Folder>"), "No track log found"},
      {"two in folder", File(Folder(Placemark({}) + Placemark({}))), "Multiple tracks in one <Folder> element"},
      {"two in placemark",
       File("<Folder><Placemark><Metadata type=\"track\"/><Metadata type=\"track\"/></Placemark></Folder>"),
       "Multiple tracks in one <Placemark> element"},
      {"no fsinfo attributes", Trip(noFsInfo), "No track log information found"},
      {"no offsets", Trip(With(&Parts::offsets, " \r\n")), "No track log time offsets found"},
      {"no positions", Trip(With(&Parts::coordinates, "")), "No track log positions found"},
      {"bad time", Trip(WithReplaced(&Parts::fsInfo, "T10:00:00Z", "T10:00Z")), "Bad time_of_first_point"},
      {"bad offset", Trip(With(&Parts::offsets, "0 5 1O")), "Bad <SecondsFromTimeOfFirstPoint> data"},
      {"offset sign only", Trip(With(&Parts::offsets, "0 - 10")), "Bad <SecondsFromTimeOfFirstPoint> data"},
      {"short pressure", Trip(noPressureEnd), "Bad number of positions in <PressureAltitude>"},
      {"long pressure", Trip(longPressure), "Bad number of positions in <PressureAltitude>"},
      {"bad pressure", Trip(badPressure), "Bad <PressureAltitude> data"},
      {"short coordinates", Trip(With(&Parts::coordinates, "8.5,47,1 8.6,47,1")),
       "Bad number of positions in <coordinates>"},
      {"long coordinates", Trip(With(&Parts::coordinates, "8.5,47,1 8.6,47,1 8.7,47,1 8.8,47,1")),
       "Bad number of positions in <coordinates>"},
      {"latitude 90", Trip(With(&Parts::coordinates, "8.5,47,1 8.6,90,1 8.7,47,1")), "Bad <coordinates> data"},
      {"longitude 180", Trip(With(&Parts::coordinates, "-180,47,1 8.6,47,1 8.7,47,1")), "Bad <coordinates> data"},
      {"2d not last", Trip(With(&Parts::coordinates, "8.5,47 8.6,47,1 8.7,47,1")), "Bad <coordinates> data"},
      {"letters", Trip(With(&Parts::coordinates, "8.5,47,1 8.6,4x,1 8.7,47,1")), "Bad <coordinates> data"},
      {"exponent", Trip(With(&Parts::coordinates, "8.5,47,1 8.6,47,1e3 8.7,47,1")), "Bad <coordinates> data"},
  };
  for (const ErrorCase& c : cases) {
    ScriptedUserInterface ui;
    const TrackFileRecords result = Shown(ui, ReadKmlTrack(c.text));
    EXPECT_EQ(result.Count(), 0) << c.name;
    ASSERT_EQ(ui.boxes.size(), 1u) << c.name;
    EXPECT_EQ(ui.boxes[0], (testing::RecordedBox{MessageKind::Error, c.message, "Parsing track log file"})) << c.name;
    ScriptedUserInterface quiet;
    EXPECT_EQ(ReadKmlTrack(c.text).records.Count(), 0) << c.name;
    EXPECT_TRUE(quiet.boxes.empty()) << c.name;
  }
}

TEST(KmlTrackReader, OptionalPartsAndTwoDimensionalLastItem) {
  Parts parts;
  parts.withPressure = false;
  parts.fsInfo = "instrument=\"x\"";
  parts.coordinates = "8.5,47,1, 8.6,47,2 8.7,47";
  ScriptedUserInterface ui;
  const TrackFileRecords result = Shown(ui, ReadKmlTrack(Trip(parts)));
  ASSERT_EQ(result.Count(), 3);
  EXPECT_EQ(result.hasPressureAltitude, 0);
  EXPECT_EQ(result.points[0].time, 0u);  // no time_of_first_point: the times start at 0
  EXPECT_EQ(result.points[2].time, 10u);
  EXPECT_EQ(result.points[2].gpsAlt, 0);
  EXPECT_EQ(result.points[0].baroAlt, 0);
}

std::string TwoTrips() {
  Parts later = WithReplaced(&Parts::fsInfo, "2012-07-01T10:00:00Z", "2012-07-02T09:30:05+01:00");
  Parts missing = With(&Parts::fsInfo, "instrument=\"x\"");
  Parts bad = WithReplaced(&Parts::fsInfo, "2012-07-01T10:00:00Z", "yesterday");
  return File(Folder(Placemark({})) + Folder(Placemark(later)) + Folder(Placemark(missing)) + Folder(Placemark(bad)));
}

TEST(KmlTrackReader, SeveralTripsAskWhichOne) {
  ScriptedUserInterface ui;
  TrackListRequest asked;
  const TrackFileRecords result = Shown(ui, ReadKmlTrack(TwoTrips(), [&](const TrackListRequest& request) {
    asked = request;
    return 1;
  }));
  EXPECT_EQ(asked.title, "Track List");
  EXPECT_EQ(asked.prompt, "Select one of these tracks");
  EXPECT_EQ(asked.columnHead, "Date / time");
  EXPECT_EQ(asked.okLabel, "OK");
  EXPECT_EQ(asked.cancelLabel, "&Cancel");
  EXPECT_EQ(asked.lines, (std::vector<std::string>{"2012-07-01   10:00:00", "2012-07-02   08:30:05",
                                                   "Missing track time", "Bad track time"}));
  ASSERT_EQ(result.Count(), 3);
  EXPECT_EQ(result.points[0].time, TrackTimeFromDate(SystemTime{2012, 7, 0, 2, 8, 30, 5, 0}));
  EXPECT_EQ(result.signatureValid, 0);

  ScriptedUserInterface cancelled;
  EXPECT_EQ(Shown(cancelled, ReadKmlTrack(TwoTrips(), [](const TrackListRequest&) { return kTrackListCancelled; }))
                .Count(),
            0);
  EXPECT_TRUE(cancelled.boxes.empty());

  ScriptedUserInterface none;
  EXPECT_EQ(Shown(none, ReadKmlTrack(TwoTrips(), [](const TrackListRequest&) { return kTrackListNoSelection; }))
                .Count(),
            0);
  EXPECT_EQ(none.boxes, (std::vector<testing::RecordedBox>{{MessageKind::Error, "Dialog box error", "Select track"}}));

  // A caller that cannot ask gets the first track.
  const TrackFileRead first = ReadKmlTrack(TwoTrips());
  EXPECT_EQ(first.status, FileReadStatus::Read);
  EXPECT_EQ(first.records.signatureValid, 2);
}

TEST(KmlTrackReader, FiftyTracksAtMost) {
  std::string folders;
  for (int i = 0; i < 51; ++i) folders += Folder(Placemark({}));
  ScriptedUserInterface ui;
  size_t offered = 0;
  const TrackFileRecords result = Shown(ui, ReadKmlTrack(File(folders), [&](const TrackListRequest& request) {
    offered = request.lines.size();
    return 49;
  }));
  EXPECT_EQ(offered, 50u);
  EXPECT_EQ(result.Count(), 3);
  EXPECT_EQ(ui.boxes, (std::vector<testing::RecordedBox>{
                          {MessageKind::Warning, "Number of tracks limited to 50", "Parsing track log file"}}));
}

TEST(KmlTrackReader, ByteOrderMarkOfUtf8IsAccepted) {
  ScriptedUserInterface ui;
  EXPECT_EQ(Shown(ui, ReadKmlTrack("\xEF\xBB\xBF" + Trip())).signatureValid, 2);
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

// Fifty megabytes that end the reading early: ten thousand nested elements,
// or a comment that never closes.
TEST(KmlTrackReader, HugeHostileFilesFailQuickly) {
  std::string deep = "<?xml version=\"1.0\"?>";
  for (int i = 0; i < 10000; ++i) deep += "<Folder>";
  deep.resize(50u << 20, ' ');
  std::string comment = "<?xml version=\"1.0\"?><Document><!--";
  comment.resize(50u << 20, '-');
  comment += " >";
  struct Case {
    const std::string& text;
    const char* message;
  } cases[] = {{deep, "Nesting limit exceeded at tag <Folder>"}, {comment, "End-of-file encountered within a tag"}};
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    EXPECT_EQ(Shown(ui, ReadKmlTrack(c.text)).Count(), 0);
    EXPECT_EQ(ui.boxes, (std::vector<testing::RecordedBox>{{MessageKind::Error, c.message, "Parsing track log file"}}));
  }
}

}  // namespace
}  // namespace trelvik
