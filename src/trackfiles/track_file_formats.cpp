#include "trackfiles/track_file_formats.hpp"

#include <algorithm>
#include <array>

#include "trackfiles/csv_track.hpp"
#include "trackfiles/dat_track.hpp"
#include "trackfiles/gpx_track_reader.hpp"
#include "trackfiles/gpx_track_writer.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_track_file.hpp"
#include "trackfiles/kml_track_reader.hpp"
#include "trackfiles/magellan_track.hpp"
#include "trackfiles/mapsource_file.hpp"
#include "trackfiles/ozi_track.hpp"
#include "trackfiles/topnav_track.hpp"

namespace trelvik {
namespace {

TrackFileRead ReadIgcRow(std::string_view bytes, const FileReadContext&) {
  TrackFileRead read = ReadIgcTrackFile(bytes);
  if (read.Ok()) read.records.hasPressureAltitude = 1;  // B records carry the pressure altitude
  return read;
}

TrackFileRead ReadKmlTrackRow(std::string_view bytes, const FileReadContext& context) {
  FileAnswerReplay replay(context);
  return replay.Finish(ReadKmlTrack(bytes, replay.TrackChooser()));
}

TrackFileRead ReadGpxTrackRow(std::string_view bytes, const FileReadContext& context) {
  FileAnswerReplay replay(context);
  return replay.Finish(ReadGpxTrack(bytes, replay.TrackChooser()));
}

// A trip file of the command-line jobs; signatureValid 2 writes the keyed hash.
FileWriteResult WriteKmlTrackRow(const TrackFileRecords& records, const TrackWriteOptions& options) {
  const std::optional<std::string_view> instrument =
      records.instrument ? std::optional<std::string_view>(*records.instrument) : std::nullopt;
  KmlTrackFileText file = FormatKmlTrackFile(records.points, records.signatureValid == 2 ? 1 : 0, records.utcTimes,
                                             records.hasPressureAltitude, instrument, options.optimise);
  if (file.failure) {
    return {{}, FileMessage{0, std::string(file.failure->text), std::string(file.failure->caption)}};
  }
  return {std::move(file.text), std::nullopt};
}

TrackFileRead ReadOziRow(std::string_view bytes, const FileReadContext&) { return ReadOziTrack(bytes); }
TrackFileRead ReadDatRow(std::string_view bytes, const FileReadContext&) { return ReadDatTrack(bytes); }
TrackFileRead ReadMapSourceRow(std::string_view bytes, const FileReadContext&) { return ReadMapSourceTrack(bytes); }
TrackFileRead ReadMagellanRow(std::string_view bytes, const FileReadContext&) { return ReadMagellanTrack(bytes); }
TrackFileRead ReadCsvRow(std::string_view bytes, const FileReadContext&) { return ReadCsvTrack(bytes); }
TrackFileRead ReadTopNavRow(std::string_view bytes, const FileReadContext& context) {
  return ReadTopNavTrack(bytes, context.utcOffsetForTn);
}

FileWriteResult WriteOziRow(const TrackFileRecords& records, const TrackWriteOptions& options) {
  return WriteOziTrack(records.points, options.now);
}
FileWriteResult WriteMapSourceRow(const TrackFileRecords& records, const TrackWriteOptions&) {
  return WriteMapSourceTrack(records.points);
}
FileWriteResult WriteGpxRow(const TrackFileRecords& records, const TrackWriteOptions& options) {
  return WriteGpxTrack(records.points, options.now);
}
FileWriteResult WriteCsvRow(const TrackFileRecords& records, const TrackWriteOptions& options) {
  return WriteCsvTrack(records.points, options.csv);
}

constexpr std::array<std::string_view, 1> kKml = {".kml"};
constexpr std::array<std::string_view, 1> kPlt = {".plt"};
constexpr std::array<std::string_view, 1> kDat = {".dat"};
constexpr std::array<std::string_view, 1> kTnc = {".tnc"};
constexpr std::array<std::string_view, 1> kMps = {".mps"};
constexpr std::array<std::string_view, 1> kLog = {".log"};
constexpr std::array<std::string_view, 1> kIgc = {".igc"};
constexpr std::array<std::string_view, 1> kGpx = {".gpx"};
constexpr std::array<std::string_view, 1> kCsv = {".csv"};

const std::array<TrackFileFormat, 9> kTrackFileFormats = {{
    {"kml-track", kKml, "FlightLog", 1, 0,
     kFormatHoldsTracks | kFormatKeyedHash | kFormatAsksQuestions, ReadKmlTrackRow, WriteKmlTrackRow, {}},
    {"ozi-track", kPlt, "Ozi", 2, 1, kFormatHoldsTracks, ReadOziRow, WriteOziRow, {}},
    {"flightlog-dat", kDat, "FlightLog (old)", 3, 0, kFormatHoldsTracks, ReadDatRow, nullptr, {}},
    {"topnavigator", kTnc, "TopNavigator", 4, 3, kFormatHoldsTracks | kFormatKeepsRawImage, ReadTopNavRow, nullptr,
     "a TopNavigator file is the instrument's own log, saved unchanged from the downloaded image"},
    {"mapsource", kMps, "MapSource", 5, 2, kFormatHoldsTracks | kFormatHoldsWaypoints, ReadMapSourceRow,
     WriteMapSourceRow, {}},
    {"magellan", kLog, "Magellan", 6, 0, kFormatHoldsTracks, ReadMagellanRow, nullptr, {}},
    {"igc", kIgc, "IGC", 7, 0, kFormatHoldsTracks | kFormatKeepsRawImage, ReadIgcRow,
     nullptr,
     "an IGC file takes its header from the \"IGC format\" dialog and a security record only when the log may be "
     "signed; the IGC save commands write it"},
    {"gpx-track", kGpx, "GPX", 8, 4, kFormatHoldsTracks | kFormatAsksQuestions, ReadGpxTrackRow, WriteGpxRow, {}},
    {"csv-track", kCsv, "CSV", 9, 5, kFormatHoldsTracks, ReadCsvRow, WriteCsvRow, {}},
}};

std::vector<const TrackFileFormat*> ListBy(int TrackFileFormat::*index) {
  std::vector<const TrackFileFormat*> rows;
  for (const TrackFileFormat& row : kTrackFileFormats) {
    if (row.*index > 0) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(), [index](const auto* a, const auto* b) { return a->*index < b->*index; });
  return rows;
}

std::vector<FileTypeChoice> ChoicesOf(const std::vector<const TrackFileFormat*>& rows) {
  std::vector<FileTypeChoice> choices;
  for (const TrackFileFormat* row : rows) choices.push_back({row->typeName, row->Extension()});
  return choices;
}

}  // namespace

std::span<const TrackFileFormat> TrackFileFormats() { return kTrackFileFormats; }

const TrackFileFormat* FindTrackFileFormat(std::string_view name) {
  for (const TrackFileFormat& row : kTrackFileFormats) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

const TrackFileFormat* TrackFileFormatForExtension(std::string_view extension) {
  for (const TrackFileFormat& row : kTrackFileFormats) {
    if (std::find(row.extensions.begin(), row.extensions.end(), extension) != row.extensions.end()) return &row;
  }
  return nullptr;
}

std::vector<const TrackFileFormat*> TrackFileOpenList() { return ListBy(&TrackFileFormat::openIndex); }
std::vector<const TrackFileFormat*> TrackFileSaveList() { return ListBy(&TrackFileFormat::saveIndex); }

std::vector<FileTypeChoice> TrackOpenChoices() { return ChoicesOf(TrackFileOpenList()); }
std::vector<FileTypeChoice> TrackSaveChoices() { return ChoicesOf(TrackFileSaveList()); }

std::string_view FileExtensionOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return path.substr(dot);
}

}  // namespace trelvik
