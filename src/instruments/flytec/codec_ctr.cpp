#include "instruments/flytec/codec_ctr.hpp"

#include <algorithm>
#include <cmath>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "geo/transverse_mercator.hpp"
#include "instruments/flytec/codec.hpp"
#include "records/number_parsers.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kNameWidth = 17;

std::string Finished(std::string text) {
  FinishNmeaSentence(text);
  return text;
}

// "%02d%02d.%03d,%c,%03d%02d.%03d,%c" of a position in degrees.
std::string PositionFields(const LatLonDegrees& p) {
  const auto milli = [](double degrees) {
    return static_cast<int64_t>(std::fabs(degrees) * 60000.0 + 0.5);
  };
  const int64_t lat = milli(p.lat);
  const int64_t lon = milli(p.lon);
  return CFormat("%02d%02d.%03d,%c,%03d%02d.%03d,%c", static_cast<int>(lat / 60000), static_cast<int>(lat / 1000 % 60),
                 static_cast<int>(lat % 1000), p.lat < 0 ? 'S' : 'N', static_cast<int>(lon / 60000),
                 static_cast<int>(lon / 1000 % 60), static_cast<int>(lon % 1000), p.lon < 0 ? 'W' : 'E');
}

// The point at `bearing` degrees and `radius` metres from the centre, in the
// centre's UTM zone.
LatLonDegrees ArcPoint(const LatLonDegrees& centre, int32_t radius, double bearing) {
  constexpr double kDegree = kPi / 180.0;
  UtmPosition utm;
  LatLonToUtm({centre.lat * kDegree, centre.lon * kDegree}, utm);
  const double a = (bearing >= 270.0 ? 450.0 - bearing : 90.0 - bearing) * kDegree;
  utm.easting += radius * std::cos(a);
  utm.northing += radius * std::sin(a);
  const GeoPosition back = UtmToLatLon(utm);
  return {back.lat / kDegree, back.lon / kDegree};
}

bool IsArc(CtrSegmentType type) { return type == CtrSegmentType::ArcByPoints || type == CtrSegmentType::ArcByAngles; }

// UTF-8 text cut to at most `limit` characters.
std::string CutCharacters(std::string_view text, size_t limit) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<uint8_t>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == limit) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

// The upload pads names and remarks with blanks; they are not part of the text.
std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitFields(std::string_view sentence) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = sentence.find(',', start);
    fields.push_back(sentence.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

// degrees * 100 + minutes "." fraction, below `limit`; 0 or the field's
// codes (not a number, too large, no ".") as given.
int ParseAngle(std::string_view text, int32_t limit, double& degrees, int notNumber, int tooLarge, int noPoint) {
  size_t i = 0;
  int32_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value >= limit) return tooLarge;
    ++i;
  }
  if (i == 0) return notNumber;
  if (i == text.size() || text[i] != '.') return noPoint;
  double fraction = 0;
  double weight = 0.1;
  for (++i; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return notNumber;
    fraction += (text[i] - '0') * weight;
    weight *= 0.1;
  }
  degrees = value / 100 + (value % 100 + fraction) / 60.0;
  return 0;
}

}  // namespace

int CtrLineCount(const CtrArea& area) {
  int lines = 2;
  for (const CtrSegment& segment : area.segments) lines += IsArc(segment.type) ? 3 : 1;
  return lines;
}

CtrUpload PBRCTRW(const CtrArea& area) {
  const int total = CtrLineCount(area);
  int line = 0;
  const auto head = [&] { return CFormat("$PBRCTRW,%03d,%03d,", total, line++); };
  CtrUpload upload;
  const int32_t warning = std::clamp<int32_t>(area.warningDistance, 0, 9999);
  upload.name = {Finished(head() + FixedWidth(area.name, kNameWidth) + CFormat(",%04d", warning)), milliseconds(100)};
  upload.remark = {Finished(head() + FixedWidth(area.floorRemark, kNameWidth)), milliseconds(100)};
  for (const CtrSegment& segment : area.segments) {
    std::vector<CtrUploadLine> lines;
    switch (segment.type) {
      case CtrSegmentType::Point:
        lines.push_back({Finished(head() + "P," + PositionFields(segment.position)), milliseconds(100)});
        break;
      case CtrSegmentType::Circle:
        lines.push_back({Finished(head() + "C," + PositionFields(segment.position) +
                                  CFormat(",%05d", std::clamp<int32_t>(segment.radius, 0, 99999))),
                         milliseconds(100)});
        break;
      case CtrSegmentType::ArcByPoints:
      case CtrSegmentType::ArcByAngles: {
        LatLonDegrees start = segment.start;
        LatLonDegrees end = segment.end;
        if (segment.type == CtrSegmentType::ArcByAngles) {
          start = ArcPoint(segment.position, segment.radius, segment.startBearing);
          end = ArcPoint(segment.position, segment.radius, segment.endBearing);
        }
        const std::string direction = CFormat(",%c", segment.direction);
        lines.push_back({Finished(head() + "X," + PositionFields(segment.position)), milliseconds(200)});
        lines.push_back({Finished(head() + "T," + PositionFields(start) + direction), milliseconds(200)});
        lines.push_back({Finished(head() + "Z," + PositionFields(end) + direction), milliseconds(100)});
        break;
      }
    }
    upload.segments.push_back(std::move(lines));
  }
  return upload;
}

int CtrListBuilder::Interpret(std::string_view sentence) {
  const std::vector<std::string_view> fields = SplitFields(sentence);
  if (fields[0] == "$PBRANS") {
    if (fields.size() < 2 || fields[1] != "1") return -2;
    // A list that ends inside an airspace lost lines on the way.
    if (expectedLine_ != 0) return -14;
    return kListComplete;
  }
  if (fields[0] != "$PBRCTR") return -3;
  int32_t total = 0;
  int32_t line = 0;
  if (fields.size() < 2) return -4;
  if (ParseUnsignedInt(fields[1], total) < 0 || fields[1].empty()) return -5;
  if (fields.size() < 3) return -6;
  if (ParseUnsignedInt(fields[2], line) < 0 || fields[2].empty()) return -7;

  if (expectedLine_ == 0) {
    if (total < 3) return -8;
    if (line != 0) return -9;
    if (fields.size() < 5) return -10;
    int32_t warning = 0;
    if (ParseSignedInt(fields[4], warning) < 0) return -11;
    CtrArea area;
    area.name = CutCharacters(TrimTrailingBlanks(fields[3]), kCtrNameLimit);
    area.warningDistance = warning;
    list_.push_back(std::move(area));
    total_ = total;
    expectedLine_ = 1;
    pendingArc_ = 0;
    return kAreaStarted;
  }
  if (line != expectedLine_) return expectedLine_ == 1 ? -13 : -14;
  if (line == 1) {
    list_.back().floorRemark = CutCharacters(TrimTrailingBlanks(fields.size() > 3 ? fields[3] : ""), kCtrRemarkLimit);
    CtrArea& area = list_.back();
    area.floorValue = AltitudeFromRemark(area.floorRemark);
  } else if (const int rc = Segment(fields, line); rc < 0) {
    return rc;
  }
  if (++expectedLine_ < total_) return kLineTaken;
  expectedLine_ = 0;
  ++completeAreas_;
  return kAreaComplete;
}

int CtrListBuilder::Segment(const std::vector<std::string_view>& fields, int line) {
  const std::string_view type = fields.size() > 3 ? fields[3] : "";
  if (type.size() != 1 || std::string_view("PXCTZ").find(type[0]) == std::string_view::npos) return -16;
  const char letter = type[0];
  const bool last = line == total_ - 1;
  if (pendingArc_ == 1) {
    if (letter != 'T') return -40;
    if (last) return -39;
  } else if (pendingArc_ == 2) {
    if (letter != 'Z') return -41;
  } else if (letter == 'C') {
    if (line != 2) return -34;
    if (total_ != 3) return -35;
  } else if (letter == 'X') {
    if (last) return -37;
  } else if (letter != 'P') {
    return -38;
  }
  if (fields.size() < 8) return -17;
  LatLonDegrees position;
  if (const int rc = ParseAngle(fields[4], 9000, position.lat, -18, -19, -20); rc < 0) return rc;
  if (fields[5] != "N" && fields[5] != "S") return -22;
  if (const int rc = ParseAngle(fields[6], 18000, position.lon, -24, -25, -26); rc < 0) return rc;
  if (fields[7] != "E" && fields[7] != "W") return -23;
  if (fields[5] == "S") position.lat = -position.lat;
  if (fields[7] == "W") position.lon = -position.lon;

  CtrArea& area = list_.back();
  CtrSegment segment;
  switch (letter) {
    case 'P':
      segment.type = CtrSegmentType::Point;
      segment.position = position;
      area.segments.push_back(segment);
      return 0;
    case 'C': {
      if (fields.size() < 9) return -27;
      int32_t radius = 0;
      if (fields[8].empty() || ParseUnsignedInt(fields[8], radius) < 0) return -28;
      segment.type = CtrSegmentType::Circle;
      segment.position = position;
      segment.radius = radius;
      area.segments.push_back(segment);
      return 0;
    }
    case 'X':
      arc_ = CtrSegment{};
      arc_.type = CtrSegmentType::ArcByPoints;
      arc_.position = position;
      pendingArc_ = 1;
      return 0;
    default: {  // "T" or "Z"
      const std::string_view direction = fields.size() > 8 ? fields[8] : "";
      if (direction != "+" && direction != "-") return -30;
      if (letter == 'T') {
        arc_.start = position;
        arc_.direction = direction[0];
        pendingArc_ = 2;
        return 0;
      }
      arc_.end = position;
      area.segments.push_back(arc_);
      pendingArc_ = 0;
      return 0;
    }
  }
}

}  // namespace trelvik::flytec
