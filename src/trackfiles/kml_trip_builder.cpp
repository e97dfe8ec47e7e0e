#include "trackfiles/kml_trip.hpp"

#include <new>
#include <stdexcept>
#include <vector>

#include "base/c_format.hpp"
#include "base/sha1.hpp"
#include "trackfiles/kml_hash.hpp"
#include "trackfiles/kml_text_escape.hpp"
#include "trackfiles/kml_trip_placemarks.hpp"

namespace trelvik {
namespace {

constexpr size_t kOffsetsPerLine = 25;
constexpr size_t kCoordinatesPerLine = 5;

void Line(std::string& out, std::string_view text) {
  out.append(text);
  out += "\r\n";
}

std::string XmlTime(TrackTime time, bool utc) {
  const SystemTime t = DateFromTrackTime(time);
  return CFormat(utc ? "%d-%02d-%02dT%02d:%02d:%02dZ" : "%d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                 t.minute, t.second);
}

// Times that no instrument can have logged: a track holding any of them gets
// evenly spaced stand-in times so that its offsets stay meaningful.
bool IsImpossibleTime(TrackTime time) { return time == 0 || time == 0x7FFFFFFFu || time == 0xFFFFFFFFu; }

void AppendStatistics(std::string& out, const KmlTripInput& in) {
  const SystemTime first = DateFromTrackTime(in.firstTime);
  const SystemTime last = DateFromTrackTime(in.lastTime);
  out += "\r\n<pre>\r\n";
  Line(out, "Flight statistics");
  Line(out, CFormat("Date                 %4d-%02d-%02d", first.year, first.month, first.day));
  Line(out, CFormat("Start/finish         %02d:%02d:%02d - %02d:%02d:%02d", first.hour, first.minute, first.second,
                    last.hour, last.minute, last.second));
  Line(out, CFormat("Duration             %d : %02d : %02d", static_cast<int>(in.duration / 3600),
                    static_cast<int>(in.duration / 60 % 60), static_cast<int>(in.duration % 60)));
  Line(out, CFormat("Max./min. height     %d / %d m", in.highestAltitude, in.lowestAltitude));
  Line(out, CFormat("Max. mean/top speed  %d km/h / %d km/h", static_cast<int>(in.greatestMeanSpeed + 0.5),
                    static_cast<int>(in.topSpeed + 0.5)));
  Line(out, CFormat("Max/min climb rate   %.2f / %.2f m/s over 60s", in.greatestClimb, in.leastClimb));
  Line(out, CFormat("Total distance       %.2f km", in.totalDistance / 1000));
  Line(out, "</pre>]]>");
  Line(out, "    </description>");
}

// One hashed list of numbers: "%d " per item, "%d" for the last, a line break
// (not hashed) after every `perLine` items and after the last.
template <typename ItemText>
void AppendHashedList(std::string& out, Sha1State& hash, size_t count, size_t perLine, ItemText itemText) {
  for (size_t i = 0; i < count; ++i) {
    std::string item = itemText(i);
    if (i + 1 < count) item += ' ';
    Sha1Update(hash, item);
    out += item;
    if ((i + 1) % perLine == 0) out += "\r\n";
  }
  if (count % perLine != 0) out += "\r\n";
}

void AppendTrack(std::string& out, const KmlTripInput& in, std::span<const TrackPoint> points, bool utc,
                 std::string_view instrument) {
  Sha1State hash;
  StartKmlHash(hash);
  out += "\r\n    <Placemark>\r\n";
  Line(out, CFormat("      <Metadata src=\"Trelvik\" v=\"%d.%02d\" type=\"track\">", in.programVersion / 100,
                    in.programVersion % 100));
  out += "        <FsInfo time_of_first_point=\"";
  const TrackTime first = points.front().time;
  const std::string firstText = XmlTime(first, utc);
  Sha1Update(hash, firstText);
  out += firstText + "\"";
  if (in.hasIds == 1 && (in.compId >= 0 || in.civlId >= 0)) {
    out += "\r\n                ";
    if (in.civlId < 0) {
      out += CFormat("comp_pilot_id=\"%d\"", in.compId);
    } else {
      out += CFormat("civl_pilot_id=\"%d\"", in.civlId);
      if (in.compId >= 0) out += CFormat(" comp_pilot_id=\"%d\"", in.compId);
    }
  }
  if (!instrument.empty()) {
    Sha1Update(hash, instrument);
    out += "\r\n                instrument=\"" + std::string(instrument) + "\"";
  }
  if (in.downloaded != kNoDownloadTime) {
    const std::string downloaded = XmlTime(in.downloaded, true);
    Sha1Update(hash, downloaded);
    out += "\r\n                downloaded=\"" + downloaded + "\"";
  }
  size_t hashAt = std::string::npos;
  if (in.isSigned == 1) {
    out += "\r\n                hash=\"";
    hashAt = out.size();
    out += std::string(kKmlHashDigits, '0') + "\"";
  }
  out += ">\r\n";
  Line(out, "          <SecondsFromTimeOfFirstPoint>");
  AppendHashedList(out, hash, points.size(), kOffsetsPerLine, [&](size_t i) {
    return std::to_string(static_cast<int32_t>(points[i].time - first));
  });
  Line(out, "          </SecondsFromTimeOfFirstPoint>");
  if (in.hasPressureAltitude == 1) {
    Line(out, "          <PressureAltitude>");
    AppendHashedList(out, hash, points.size(), kOffsetsPerLine, [&](size_t i) { return std::to_string(points[i].baroAlt); });
    Line(out, "          </PressureAltitude>");
  }
  Line(out, "        </FsInfo>");
  Line(out, "      </Metadata>");
  Line(out, "      <name>Tracklog</name>");
  Line(out, "      <LineString>");
  bool anyAltitude = false;
  for (const TrackPoint& point : points) anyAltitude = anyAltitude || point.gpsAlt != 0;
  Line(out, anyAltitude ? "        <altitudeMode>absolute</altitudeMode>"
                        : "        <altitudeMode>clampedToGround</altitudeMode>");
  Line(out, "        <coordinates>");
  AppendHashedList(out, hash, points.size(), kCoordinatesPerLine, [&](size_t i) { return KmlCoordinateText(points[i]); });
  Line(out, "        </coordinates>");
  const std::string digest = Sha1Final(hash);
  if (hashAt != std::string::npos) out.replace(hashAt, kKmlHashDigits, digest);
  Line(out, "      </LineString>");
  Line(out, "    </Placemark>");
  Line(out, "  </Folder>");
}

}  // namespace

int AppendKmlTrip(std::string& folder, const KmlTripInput& input, std::optional<std::string_view> title,
                  std::optional<std::string_view> instrument) {
  if (input.points.empty() || !KmlOptimisationIndexesValid(input.optimisation, input.points.size())) {
    return kKmlTripBadInput;
  }
  try {
    std::span<const TrackPoint> points = input.points;
    bool utc = input.utcTimes == 1;
    bool impossible = false;
    for (const TrackPoint& point : points) impossible = impossible || IsImpossibleTime(point.time);
    // Only a track with stand-in times is copied (a long flight's points are megabytes).
    std::vector<TrackPoint> retimed;
    if (impossible) {
      retimed.assign(points.begin(), points.end());
      for (size_t i = 0; i < retimed.size(); ++i) retimed[i].time = static_cast<TrackTime>(5 * i);
      points = retimed;
      utc = false;
    }
    std::string titleText;
    if (title) {
      std::optional<std::string> converted = KmlTitleText(*title);
      if (!converted) return kKmlTripBadTitle;
      titleText = std::move(*converted);
    }
    folder.reserve(folder.size() + KmlTripTextEstimate(points.size()));
    const int32_t v = input.programVersion;
    Line(folder, "  <Folder>");
    Line(folder, CFormat("    <Metadata src=\"Trelvik\" v=\"%d.%02d\" type=\"trip\"/>", v / 100, v % 100));
    Line(folder, "    <open>1</open>");
    Line(folder, "    <name>Trip</name>");
    folder += "    <description><![CDATA[";
    folder += titleText;
    AppendStatistics(folder, input);
    AppendKmlOptimisationPlacemarks(folder, input, points);
    AppendTrack(folder, input, points, utc, KmlInstrumentText(instrument.value_or("unknown")));
  } catch (const std::bad_alloc&) {
    return kKmlTripBufferFailed;
  } catch (const std::length_error&) {
    return kKmlTripBufferFailed;
  }
  return 0;
}

int BuildKmlTrip(TextBuffer& buffer, const KmlTripInput& input, std::optional<std::string_view> title,
                 std::optional<std::string_view> instrument) {
  std::string folder;
  const int built = AppendKmlTrip(folder, input, title, instrument);
  if (built != 0) return built;
  return buffer.AppendLine(folder) < 0 ? kKmlTripBufferFailed : 0;
}

}  // namespace trelvik
