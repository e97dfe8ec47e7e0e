#include "trackfiles/gpx_track_reader.hpp"

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_text.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Parsing track log file";
constexpr size_t kMaxSegments = 100;
constexpr double kMaxHeightMetres = 200000000.0;  // keeps ele x 10 inside 32 bits

// "gpx" / "trk" / "trkseg" / "trkpt" at depths 1 to 4.
enum class State { Outside, Gpx, Track, Segment, Point };

char* SkipXmlSpace(char* p) {
  while (IsXmlSpace(*p)) ++p;
  return p;
}

// One child element "<name>text</name>" at `p` (after white space), as the
// tokenizer would see it: `text` from its first character that is not white
// space to the "<" of the end tag, null when there is none.
struct ChildText {
  char* endTag = nullptr;  // the "<" of "</name>"
  char* text = nullptr;
};

bool IsTag(const char* p, std::string_view name, bool end) {
  if (*p++ != '<') return false;
  if (end && *p++ != '/') return false;
  // Character by character: the text's terminator differs from every name
  // character, so nothing is read beyond it.
  for (const char c : name) {
    if (*p++ != c) return false;
  }
  return *p == '>';
}

bool SimpleChild(char*& p, std::string_view name, ChildText& child) {
  if (!IsTag(p, name, false)) return false;
  char* text = SkipXmlSpace(p + name.size() + 2);
  char* endTag = std::strchr(text, '<');
  if (endTag == nullptr || !IsTag(endTag, name, true)) return false;
  child.endTag = endTag;
  child.text = endTag != text ? text : nullptr;
  p = SkipXmlSpace(endTag + name.size() + 3);
  return true;
}

// A point of the usual layout, found but not yet terminated.
struct UsualPoint {
  char* nameEnd = nullptr;      // the white space after "<trkpt"
  char* startTagEnd = nullptr;  // the ">" of the start tag
  bool hasEle = false;
  ChildText ele;
  ChildText time;
};

// Where the text after the point's end tag begins, or null when what stands at
// `p` (after white space) is not a point of the usual layout.
char* ReadUsualPoint(char* p, UsualPoint& point) {
  p = SkipXmlSpace(p);
  for (const char c : std::string_view("<trkpt")) {
    if (*p++ != c) return nullptr;
  }
  if (!IsXmlSpace(*p)) return nullptr;
  point.nameEnd = p;
  p = std::strchr(p, '>');
  if (p == nullptr || p[-1] == '/') return nullptr;
  point.startTagEnd = p;
  p = SkipXmlSpace(p + 1);
  point.hasEle = SimpleChild(p, "ele", point.ele);
  if (!SimpleChild(p, "time", point.time) || !IsTag(p, "trkpt", true)) return nullptr;
  return p + std::string_view("</trkpt>").size();
}

class SegmentWalk : public XmlElementHandler {
 public:
  std::vector<std::vector<TrackPoint>> segments;
  std::string error;

  XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken&) override {
    const std::string_view tag(name);
    if (tag == "gpx" && depth == 1) {
      state_ = State::Gpx;
    } else if (tag == "trk") {
      state_ = depth == 2 && state_ == State::Gpx ? State::Track : State::Outside;
    } else if (tag == "trkseg") {
      if (depth == 3 && state_ == State::Track) {
        state_ = State::Segment;
        points_.clear();
        points_.reserve(1000);
      } else {
        state_ = State::Outside;
      }
    } else if (tag == "trkpt" && depth == 4 && state_ == State::Segment) {
      state_ = State::Point;
      attributes_ = attributes;
      ele_ = nullptr;
      time_ = nullptr;
      timeEnd_ = nullptr;
      hasEle_ = false;
      hasTime_ = false;
    }
    return XmlStep::Continue;
  }

  // Nearly every point of a file has one layout: <trkpt> with attributes, an
  // optional <ele> and a <time> each holding only its text, then </trkpt>.
  // Runs of such points inside a segment are read here in one go; a point of
  // any other layout goes through the walk token by token.
  XmlChildrenRead ReadChildren(char* content, int depth) override {
    if (state_ != State::Segment || depth != 3) return {};
    char* p = content;
    for (;;) {
      UsualPoint point;
      char* next = ReadUsualPoint(p, point);
      if (next == nullptr) return {p, XmlStep::Continue};
      // Terminated where the tokenizer would have terminated them.
      *point.nameEnd = '\0';
      *point.startTagEnd = '\0';
      if (point.hasEle) *point.ele.endTag = '\0';
      *point.time.endTag = '\0';
      attributes_ = point.nameEnd + 1;
      ele_ = point.hasEle ? point.ele.text : nullptr;
      hasEle_ = point.hasEle;
      time_ = point.time.text;
      timeEnd_ = point.time.endTag;
      hasTime_ = true;
      const XmlStep step = StorePoint();
      p = next;
      if (step != XmlStep::Continue) return {p, step};
    }
  }

  XmlStep OnEnd(const char* name, char* text, int, const XmlToken& token) override {
    const std::string_view tag(name);
    if (state_ == State::Point) {
      if (tag == "ele") {
        ele_ = text;
        hasEle_ = true;
      } else if (tag == "time") {
        time_ = text;
        timeEnd_ = const_cast<char*>(token.begin);  // the text runs up to its end tag
        hasTime_ = true;
      } else if (tag == "trkpt") {
        state_ = State::Segment;
        return StorePoint();
      }
    } else if (state_ == State::Segment && tag == "trkseg") {
      state_ = State::Track;
      if (!points_.empty()) {
        if (segments.size() >= kMaxSegments) return Fail("Too many track segments");
        segments.push_back(std::move(points_));
        points_ = {};
      }
    } else if (state_ == State::Track && tag == "trk") {
      state_ = State::Gpx;
    }
    return XmlStep::Continue;
  }

 private:
  XmlStep StorePoint() {
    const int number = static_cast<int>(points_.size()) + 1;
    if (attributes_ == nullptr || !hasTime_) return Fail(CFormat("Missing tag(s) for position %d", number));
    // A text begins at its first character that is not white space, so only
    // attributes that are all white space, or no time text, normalise to nothing.
    if (*SkipXmlSpace(attributes_) == '\0' || time_ == nullptr) {
      return Fail(CFormat("Missing data for position %d", number));
    }
    // A date-time has no white space inside, so cutting the white space after
    // it is all the normalisation it can need. The attributes are read as
    // they stand: white space between or inside them reads the same either way.
    while (timeEnd_ > time_ && IsXmlSpace(timeEnd_[-1])) --timeEnd_;
    *timeEnd_ = '\0';
    TrackPoint point;
    bool hasZone = false;
    if (ParseXmlDateTime(time_, point.time, hasZone) != 0) return Fail(CFormat("Bad time data for position %d", number));
    if (hasEle_) {
      double ele = 0;
      const std::string_view text(ele_ != nullptr ? ele_ : "", NormalizeSpace(ele_));
      if (ParseSignedReal(text, ele) != 0 || !(std::fabs(ele) < kMaxHeightMetres)) {
        return Fail(CFormat("Bad height data for position %d", number));
      }
      point.gpsAlt = static_cast<int32_t>(ele * 10);
    }
    double lat = 0;
    double lon = 0;
    if (GetXmlAttrReal(attributes_, "lat", lat) != 0 || !(std::fabs(lat) <= 90.0)) {
      return Fail(CFormat("Missing/bad latitude data in position %d", number));
    }
    if (GetXmlAttrReal(attributes_, "lon", lon) != 0 || !(std::fabs(lon) <= 180.0)) {
      return Fail(CFormat("Missing/bad longitude data in position %d", number));
    }
    point.lat = DegreesToSemicircle(lat);
    point.lon = DegreesToSemicircle(lon);
    points_.push_back(point);
    return XmlStep::Continue;
  }

  XmlStep Fail(std::string message) {
    error = std::move(message);
    return XmlStep::Fail;
  }

  State state_ = State::Outside;
  std::vector<TrackPoint> points_;
  char* attributes_ = nullptr;
  char* ele_ = nullptr;
  char* time_ = nullptr;
  char* timeEnd_ = nullptr;  // where the time text ends
  bool hasEle_ = false;
  bool hasTime_ = false;
};

TrackFileRead Read(std::string_view text, const FileTrackChooser& chooseTrack) {
  std::string copy(text);  // the tokenizer writes into its text
  SegmentWalk walk;
  XmlWalkOptions options;
  options.firstTag = XmlFirstTag::RequireDeclaration;
  if (WalkXml(copy.data(), options, walk, walk.error) == kXmlWalkFailed) {
    return TrackFileRead::Failure(walk.error, kCaption);
  }
  if (walk.segments.empty()) return TrackFileRead::Failure("No tracks found", kCaption);
  size_t chosen = 0;
  if (walk.segments.size() > 1) {
    TrackListRequest request{"Track List", "Select one of these tracks", "Date / time", "OK", "Cancel", {}};
    for (const auto& segment : walk.segments) request.lines.push_back(TrackListLine(segment.front().time));
    const int line = ChooseTrack(chooseTrack, request);
    if (line < 0) return TrackFileRead::Cancel();  // Cancel, or OK with nothing chosen: nothing to read
    chosen = static_cast<size_t>(line);
  }
  TrackFileRead result;
  result.records.points = std::move(walk.segments[chosen]);
  return result;
}

}  // namespace

TrackFileRead ReadGpxTrack(std::string_view text, const FileTrackChooser& chooseTrack) {
  try {
    return Read(text, chooseTrack);
  } catch (const std::bad_alloc&) {
    return TrackFileRead::Failure("Track log memory allocation", kCaption);
  }
}

}  // namespace trelvik
