#include "waypoints/waypoint_file_formats.hpp"

#include <algorithm>
#include <array>

#include "trackfiles/gpx_waypoint_reader.hpp"
#include "trackfiles/kml_waypoint_reader.hpp"
#include "trackfiles/mapsource_file.hpp"
#include "waypoints/compegps_waypoints.hpp"
#include "waypoints/geo_utm_waypoints.hpp"
#include "waypoints/ozi_waypoints.hpp"
#include "waypoints/seeyou_waypoints.hpp"
#include "waypoints/winpilot_waypoints.hpp"
#include "waypoints/xml_root_element.hpp"
#include "waypoints/xml_waypoint_writers.hpp"

namespace trelvik {
namespace {

bool IsGpx(std::string_view bytes) { return XmlRootElement(bytes) == "gpx"; }
bool IsKml(std::string_view bytes) { return XmlRootElement(bytes) == "kml"; }
bool IsOzi(std::string_view bytes) { return bytes.starts_with(kOziWaypointMark); }
bool IsGeo(std::string_view bytes) { return bytes.starts_with(kGeoWaypointMark); }
bool IsUtm(std::string_view bytes) { return bytes.starts_with(kUtmWaypointMark); }

// A file whose first character (after the UTF-8 mark) opens no XML tag. A
// file that begins with another byte-order mark is none of the formats.
bool HasNoXmlTag(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return false;
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && bytes[first] != '<';
}

// CompeGPS is tried first among the files without a tag; the reader finds
// nothing in a file whose first line is not its datum line.
bool IsCompeGps(std::string_view bytes) {
  if (!HasNoXmlTag(bytes)) return false;
  bytes.remove_prefix(bytes.find_first_not_of(" \r\n"));
  const FileReadContext probe;
  return ReadCompeGpsWaypoints(bytes.substr(0, bytes.find_first_of("\r\n")), probe).Ok();
}

FileWriteResult WriteOziRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteOziWaypoints(records);
}
FileWriteResult WriteUtmRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteUtmWaypoints(records);
}
FileWriteResult WriteGeoRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteGeoWaypoints(records);
}
FileWriteResult WriteSeeYouRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteSeeYouWaypoints(records);
}
FileWriteResult WriteGpxRow(const WaypointFileRecords& records, const WaypointWriteOptions& options) {
  return WriteGpxWaypoints(records, options.now, options.programVersion);
}
FileWriteResult WriteKmlRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteKmlWaypoints(records);
}
FileWriteResult WriteWinPilotRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteWinPilotWaypoints(records);
}
FileWriteResult WriteCompeGpsRow(const WaypointFileRecords& records, const WaypointWriteOptions& options) {
  return WriteCompeGpsWaypoints(records, options.now);
}

WaypointFileRead ReadGpxRow(std::string_view bytes, const FileReadContext& context) {
  FileAnswerReplay replay(context);
  return replay.Finish(ReadGpxWaypoints(bytes, context.now, replay.ModifyId()));
}

WaypointFileRead ReadKmlRow(std::string_view bytes, const FileReadContext& context) {
  FileAnswerReplay replay(context);
  return replay.Finish(ReadKmlWaypoints(bytes, context.now, replay.ModifyId()));
}

WaypointFileRead ReadMapSourceRow(std::string_view bytes, const FileReadContext& context) {
  WaypointFileRead read = ReadMapSourceWaypoints(bytes);
  for (Waypoint& waypoint : read.records.waypoints) waypoint.time = context.now;  // the file keeps none
  return read;
}
FileWriteResult WriteMapSourceRow(const WaypointFileRecords& records, const WaypointWriteOptions&) {
  return WriteMapSourceWaypoints(records.waypoints);
}

constexpr std::array<std::string_view, 1> kWpt = {".wpt"};
constexpr std::array<std::string_view, 1> kMps = {".mps"};
constexpr std::array<std::string_view, 1> kCup = {".cup"};
constexpr std::array<std::string_view, 1> kGpx = {".gpx"};
constexpr std::array<std::string_view, 1> kKml = {".kml"};
constexpr std::array<std::string_view, 1> kDat = {".dat"};

constexpr uint32_t kAsking = kFormatHoldsWaypoints | kFormatAsksQuestions;

// The recognition order is the one of the first bytes: the marked text
// formats, then XML, then the two formats without a mark.
const std::array<WaypointFileFormat, 9> kWaypointFileFormats = {{
    {"ozi-waypoints", kWpt, "Ozi", 1, "Ozi/Trelvik", 1, 1, kAsking, IsOzi, ReadOziWaypoints, WriteOziRow},
    {"utm-waypoints", kWpt, "UTM", 2, {}, 0, 3, kAsking, IsUtm, ReadUtmWaypoints, WriteUtmRow},
    {"geo-waypoints", kWpt, "Geographical", 3, {}, 0, 2, kAsking, IsGeo, ReadGeoWaypoints, WriteGeoRow},
    {"mapsource", kMps, "MapSource", 4, "MapSource", 2, 5, kFormatHoldsWaypoints | kFormatHoldsTracks,
     IsMapSourceFile, ReadMapSourceRow, WriteMapSourceRow},
    {"seeyou-waypoints", kCup, "SeeYou", 5, "SeeYou", 3, 4, kFormatHoldsWaypoints, IsSeeYouWaypointFile,
     ReadSeeYouWaypoints, WriteSeeYouRow},
    {"gpx-waypoints", kGpx, "GPX", 6, "GPS exchange", 4, 6, kAsking, IsGpx, ReadGpxRow, WriteGpxRow},
    {"kml-waypoints", kKml, "GoogleEarth", 7, "GoogleEarth", 5, 7, kAsking, IsKml, ReadKmlRow, WriteKmlRow},
    {"winpilot-waypoints", kDat, "WinPilot", 8, "WinPilot", 6, 9, kFormatHoldsWaypoints, HasNoXmlTag,
     ReadWinPilotWaypoints, WriteWinPilotRow},
    {"compegps-waypoints", kWpt, "CompeGPS", 9, {}, 0, 8, kFormatHoldsWaypoints, IsCompeGps, ReadCompeGpsWaypoints,
     WriteCompeGpsRow},
}};

std::vector<const WaypointFileFormat*> ListBy(int WaypointFileFormat::*index) {
  std::vector<const WaypointFileFormat*> rows;
  for (const WaypointFileFormat& row : kWaypointFileFormats) {
    if (row.*index > 0) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(), [index](const auto* a, const auto* b) { return a->*index < b->*index; });
  return rows;
}

}  // namespace

std::span<const WaypointFileFormat> WaypointFileFormats() { return kWaypointFileFormats; }

const WaypointFileFormat* FindWaypointFileFormat(std::string_view name) {
  for (const WaypointFileFormat& row : kWaypointFileFormats) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

const WaypointFileFormat* RecogniseWaypointFile(std::string_view bytes) {
  for (const WaypointFileFormat* row : ListBy(&WaypointFileFormat::recogniseOrder)) {
    if (row->recognises != nullptr && row->read != nullptr && row->recognises(bytes)) return row;
  }
  return nullptr;
}

std::vector<const WaypointFileFormat*> WaypointFileSaveList() { return ListBy(&WaypointFileFormat::saveIndex); }
std::vector<const WaypointFileFormat*> WaypointFileOpenList() { return ListBy(&WaypointFileFormat::openIndex); }

std::vector<FileTypeChoice> WaypointSaveChoices() {
  std::vector<FileTypeChoice> choices;
  for (const WaypointFileFormat* row : WaypointFileSaveList()) choices.push_back({row->saveTypeName, row->Extension()});
  return choices;
}

std::vector<FileTypeChoice> WaypointOpenChoices() {
  std::vector<FileTypeChoice> choices;
  for (const WaypointFileFormat* row : WaypointFileOpenList()) choices.push_back({row->openTypeName, row->Extension()});
  return choices;
}

}  // namespace trelvik
