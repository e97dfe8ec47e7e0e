#include "waypoints/waypoint_file_formats.hpp"

#include <algorithm>
#include <array>

#include "trackfiles/gpx_waypoint_reader.hpp"
#include "trackfiles/kml_waypoint_reader.hpp"
#include "trackfiles/mapsource_file.hpp"
#include "waypoints/xml_root_element.hpp"

namespace trelvik {
namespace {

bool IsGpx(std::string_view bytes) { return XmlRootElement(bytes) == "gpx"; }
bool IsKml(std::string_view bytes) { return XmlRootElement(bytes) == "kml"; }

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

// Rows without functions are formats the dialogs already offer; their
// recognisers, readers and writers come as the formats are built. The
// recognition order is the one of the first bytes: the marked text formats,
// then XML, then the two formats without a mark.
const std::array<WaypointFileFormat, 9> kWaypointFileFormats = {{
    {"ozi-waypoints", kWpt, "Ozi", 1, "Ozi/Trelvik", 1, 1, kAsking, nullptr, nullptr, nullptr},
    {"utm-waypoints", kWpt, "UTM", 2, {}, 0, 3, kAsking, nullptr, nullptr, nullptr},
    {"geo-waypoints", kWpt, "Geographical", 3, {}, 0, 2, kAsking, nullptr, nullptr, nullptr},
    {"mapsource", kMps, "MapSource", 4, "MapSource", 2, 5, kFormatHoldsWaypoints | kFormatHoldsTracks,
     IsMapSourceFile, ReadMapSourceRow, WriteMapSourceRow},
    {"seeyou-waypoints", kCup, "SeeYou", 5, "SeeYou", 3, 4, kFormatHoldsWaypoints, nullptr, nullptr, nullptr},
    {"gpx-waypoints", kGpx, "GPX", 6, "GPS exchange", 4, 6, kAsking, IsGpx, ReadGpxRow, nullptr},
    {"kml-waypoints", kKml, "GoogleEarth", 7, "GoogleEarth", 5, 7, kAsking, IsKml, ReadKmlRow, nullptr},
    {"winpilot-waypoints", kDat, "WinPilot", 8, "WinPilot", 6, 9, kFormatHoldsWaypoints, nullptr, nullptr, nullptr},
    {"compegps-waypoints", kWpt, "CompeGPS", 9, {}, 0, 8, kFormatHoldsWaypoints, nullptr, nullptr, nullptr},
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
