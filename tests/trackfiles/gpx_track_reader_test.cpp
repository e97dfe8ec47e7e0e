#include "trackfiles/gpx_track_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/scripted_user_interface.hpp"
#include "file_read_shown.hpp"
#include "trackfiles/gpx_track_writer.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::Shown;

using testing::RecordedBox;
using testing::ScriptedUserInterface;

std::string Point(const char* attributes, const char* inner) {
  return std::string("      <trkpt ") + attributes + ">" + inner + "</trkpt>\n";
}

std::string Segment(const std::string& points) { return "    <trkseg>\n" + points + "    </trkseg>\n"; }

std::string Gpx(const std::string& segments) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">\n  <metadata><time>2001-01-01T00:00:00Z</time>"
         "</metadata>\n  <trk>\n    <name>x</name>\n" +
         segments + "  </trk>\n</gpx>\n";
}

std::string TimedPoint(int minute) {
  const std::string time = "<time>2012-07-01T10:" + std::string(minute < 10 ? "0" : "") + std::to_string(minute) +
                           ":00Z</time>";
  return Point("lat=\"47.5\" lon=\"8,25\"", ("<ele>512.37</ele>" + time).c_str());
}

TEST(GpxTrackReader, ReadsOneSegment) {
  ScriptedUserInterface ui;
  const TrackFileRecords result = Shown(ui, ReadGpxTrack(Gpx(Segment(TimedPoint(0) + TimedPoint(1)))));
  EXPECT_TRUE(ui.boxes.empty());
  ASSERT_EQ(result.Count(), 2);
  EXPECT_EQ(result.utcTimes, 0);
  EXPECT_EQ(result.signatureValid, 0);
  const TrackPoint& point = result.points[1];
  EXPECT_EQ(point.flags, 0);
  EXPECT_EQ(point.time, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 1, 0, 0}));
  EXPECT_EQ(point.lat, DegreesToSemicircle(47.5));
  EXPECT_EQ(point.lon, DegreesToSemicircle(8.25));
  EXPECT_EQ(point.gpsAlt, 5123);  // ele x 10, truncated
  EXPECT_EQ(point.baroAlt, 0);
}

TEST(GpxTrackReader, ThreeSegmentsAskAndReturnOnlyTheChosenOne) {
  const std::string text =
      Gpx(Segment(TimedPoint(0)) + Segment(TimedPoint(10) + TimedPoint(11) + TimedPoint(12)) + Segment(TimedPoint(20)));
  ScriptedUserInterface ui;
  TrackListRequest asked;
  const TrackFileRecords result = Shown(ui, ReadGpxTrack(text, [&](const TrackListRequest& request) {
    asked = request;
    return 1;
  }));
  EXPECT_EQ(asked.lines, (std::vector<std::string>{"2012-07-01   10:00:00", "2012-07-01   10:10:00",
                                                   "2012-07-01   10:20:00"}));
  EXPECT_EQ(asked.cancelLabel, "Cancel");
  ASSERT_EQ(result.Count(), 3);
  EXPECT_EQ(result.points[0].time, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 10, 0, 0}));

  ScriptedUserInterface cancelled;
  EXPECT_EQ(Shown(cancelled, ReadGpxTrack(text, [](const TrackListRequest&) { return kTrackListCancelled; })).Count(),
            0);
  EXPECT_TRUE(cancelled.boxes.empty());
}

TEST(GpxTrackReader, EmptySegmentsAndOutOfPlaceElementsAreIgnored) {
  const std::string text = "<?xml version=\"1.0\"?><gpx><trk><trkseg></trkseg><trkseg>" + TimedPoint(1) +
                           "</trkseg></trk><wpt lat=\"1\" lon=\"1\"><trkseg>" + TimedPoint(2) + "</trkseg></wpt></gpx>";
  ScriptedUserInterface ui;
  const TrackFileRecords result = Shown(ui, ReadGpxTrack(text));
  ASSERT_EQ(result.Count(), 1);
  EXPECT_EQ(result.points[0].time % 3600, 60u);
}

// The usual point layout is read in one go, every other one token by token:
// both must give the same point.
TEST(GpxTrackReader, EveryLayoutOfAPointReadsAlike) {
  const char* const contents[] = {
      "<ele>512.37</ele><time>2012-07-01T10:01:00Z</time>",
      "\r\n        <ele> 512.37\r\n</ele>\r\n        <time>\t2012-07-01T10:01:00Z </time>\r\n      ",
      "<time>2012-07-01T10:01:00Z</time><ele>512.37</ele>",
      "<ele>512.37</ele><!-- between --><time>2012-07-01T10:01:00Z</time>",
      "<ele>512.37</ele><time>2012-07-01T10:01:00Z</time><extensions><speed>3</speed></extensions>",
      "<ele >512.37</ele ><time>2012-07-01T10:01:00Z</time>",
      "<ele>512.37</ele><time>2012-07-01T10:01:00Z</time ><sat>5</sat>",
      "<ele>512.37</ele><time><![CDATA[x]]>2012-07-01T10:01:00Z</time>",
  };
  for (const char* content : contents) {
    ScriptedUserInterface ui;
    const std::string segment = TimedPoint(0) + Point("lat=\"47.5\" lon=\"8,25\"", content) + TimedPoint(2);
    const TrackFileRecords result = Shown(ui, ReadGpxTrack(Gpx(Segment(segment))));
    EXPECT_TRUE(ui.boxes.empty()) << content;
    ASSERT_EQ(result.Count(), 3) << content;
    EXPECT_EQ(result.points[2].time % 3600, 120u) << content;
    const TrackPoint& point = result.points[1];
    EXPECT_EQ(point.time, TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 1, 0, 0})) << content;
    EXPECT_EQ(point.lat, DegreesToSemicircle(47.5)) << content;
    EXPECT_EQ(point.lon, DegreesToSemicircle(8.25)) << content;
    EXPECT_EQ(point.gpsAlt, 5123) << content;
  }
}

// A comment before each point keeps every point from being read in one go,
// so the same file is read once each way.
std::string WithoutUsualPoints(std::string text) {
  for (size_t at = text.find("<trkpt"); at != std::string::npos; at = text.find("<trkpt", at + 8)) {
    text.insert(at, "<!---->");
    at += 7;
  }
  return text;
}

struct ReadOutcome {
  std::vector<RecordedBox> boxes;
  std::vector<TrackPoint> points;
};

ReadOutcome ReadOutcomeOf(const std::string& text) {
  ScriptedUserInterface ui;
  ReadOutcome outcome;
  outcome.points = Shown(ui, ReadGpxTrack(text)).points;
  outcome.boxes = ui.boxes;
  return outcome;
}

TEST(GpxTrackReader, PointsReadInOneGoAsTokenByToken) {
  std::vector<TrackPoint> points(300);
  for (size_t i = 0; i < points.size(); ++i) {
    const int n = static_cast<int>(i);
    points[i].time = TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 23, 59, 0, 0}) + static_cast<TrackTime>(n * 7);
    points[i].lat = DegreesToSemicircle(-45.0 + n * 0.3137);
    points[i].lon = DegreesToSemicircle(170.0 - n * 1.1713);
    points[i].gpsAlt = (n % 7 == 0 ? -1 : 1) * n * 37;
  }
  const std::string written = WriteGpxTrack(points, 0).bytes;
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = written;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string variants[] = {
      written,
      replaced("<time>2012-07-02T00:00:03Z", "<time>2012-07-02T00:00:03Z?"),
      replaced("<ele>", "<ele>x"),
      replaced("lat=\"-44.37", "lat=\"x-44.37"),
      replaced("</time>\r\n      </trkpt>", "</time>\r\n      </trkpt></trkseg><trkseg>"),
      written.substr(0, written.size() / 2),
  };
  for (const std::string& text : variants) {
    const ReadOutcome inOneGo = ReadOutcomeOf(text);
    const ReadOutcome tokenByToken = ReadOutcomeOf(WithoutUsualPoints(text));
    EXPECT_EQ(inOneGo.boxes, tokenByToken.boxes);
    ASSERT_EQ(inOneGo.points.size(), tokenByToken.points.size());
    for (size_t i = 0; i < inOneGo.points.size(); ++i) {
      const TrackPoint& a = inOneGo.points[i];
      const TrackPoint& b = tokenByToken.points[i];
      EXPECT_EQ(std::tie(a.flags, a.time, a.lat, a.lon, a.gpsAlt, a.baroAlt),
                std::tie(b.flags, b.time, b.lat, b.lon, b.gpsAlt, b.baroAlt))
          << i;
    }
  }
  EXPECT_EQ(ReadOutcomeOf(written).points.size(), points.size());
}

struct ErrorCase {
  const char* name;
  std::string text;
  const char* message;
};

TEST(GpxTrackReader, ErrorsAreShownUnderTheReadersCaption) {
  std::string many;
  for (int i = 0; i < 101; ++i) many += Segment(TimedPoint(1));
  const ErrorCase cases[] = {
      {"utf-16", "\xFF\xFE" + Gpx(Segment(TimedPoint(0))), "Unknown BOM before opening tag '<?xml>'"},
      {"no declaration", "<gpx/>", "Missing opening tag '<?xml>'"},
      {"no segment", Gpx(""), "No tracks found"},
      {"no time", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele>1</ele>"))), "Missing tag(s) for position 1"},
      {"no attributes", Gpx(Segment(TimedPoint(0) + "<trkpt><time>2012-07-01T10:00:00Z</time></trkpt>")),
       "Missing tag(s) for position 2"},
      {"blank attributes", Gpx(Segment("<trkpt  ><time>2012-07-01T10:00:00Z</time></trkpt>")),
       "Missing data for position 1"},
      {"empty time", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<time> </time>"))), "Missing data for position 1"},
      {"bad time", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<time>noon</time>"))), "Bad time data for position 1"},
      {"bad height", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele>high</ele><time>2012-07-01T10:00:00</time>"))),
       "Bad height data for position 1"},
      {"empty height", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele/><time>2012-07-01T10:00:00</time>"))),
       "Bad height data for position 1"},
      {"empty point", Gpx(Segment(TimedPoint(0) + "<trkpt lat=\"1\" lon=\"1\"/>")), "Missing tag(s) for position 2"},
      {"bad time among usual points",
       Gpx(Segment(TimedPoint(0) + TimedPoint(1) +
                   Point("lat=\"1\" lon=\"1\"", "<ele>1</ele><time>2012-07-01T10:00:00Z?</time>") + TimedPoint(3))),
       "Bad time data for position 3"},
      {"blank height", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele> </ele><time>2012-07-01T10:00:00</time>"))),
       "Bad height data for position 1"},
      {"text between", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele>1</ele>x<time>2012-07-01T10:00:00</time>"))),
       "Data found before tag <time>"},
      {"crossed end tags", Gpx(Segment(Point("lat=\"1\" lon=\"1\"", "<ele>1</time><time>2012-07-01T10:00:00</ele>"))),
       "Tag <ele> is terminated by </time>"},
      {"cut off in a point", "<?xml version=\"1.0\"?><gpx><trk><trkseg><trkpt lat=\"1\" lon=\"1\"><time>2012",
       "Nesting level not zero at end-of-file"},
      {"no latitude", Gpx(Segment(Point("lon=\"1\"", "<time>2012-07-01T10:00:00</time>"))),
       "Missing/bad latitude data in position 1"},
      {"latitude 91", Gpx(Segment(Point("lat=\"91\" lon=\"1\"", "<time>2012-07-01T10:00:00</time>"))),
       "Missing/bad latitude data in position 1"},
      {"bad longitude", Gpx(Segment(Point("lat=\"1\" lon=\"1e2\"", "<time>2012-07-01T10:00:00</time>"))),
       "Missing/bad longitude data in position 1"},
      {"101 segments", Gpx(many), "Too many track segments"},
      {"structure", "<?xml version=\"1.0\"?><gpx><trk></gpx>", "Tag <trk> is terminated by </gpx>"},
  };
  for (const ErrorCase& c : cases) {
    ScriptedUserInterface ui;
    EXPECT_EQ(Shown(ui, ReadGpxTrack(c.text)).Count(), 0) << c.name;
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, "Parsing track log file"}}))
        << c.name;
  }
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

TEST(GpxTrackReader, HugeHostileFilesFailQuickly) {
  std::string deep = "<?xml version=\"1.0\"?>";
  for (int i = 0; i < 10000; ++i) deep += "<trk>";
  deep.resize(50u << 20, '\n');
  std::string comment = "<?xml version=\"1.0\"?><gpx><!--";
  comment.resize(50u << 20, 'x');
  ScriptedUserInterface ui;
  EXPECT_EQ(Shown(ui, ReadGpxTrack(deep)).Count(), 0);
  EXPECT_EQ(Shown(ui, ReadGpxTrack(comment)).Count(), 0);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{
                          {MessageKind::Error, "Nesting limit exceeded at tag <trk>", "Parsing track log file"},
                          {MessageKind::Error, "End-of-file encountered within a tag", "Parsing track log file"}}));
}

}  // namespace
}  // namespace trelvik
