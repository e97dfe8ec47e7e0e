#pragma once
// The waypoint file formats: one row per format with what the save and open
// dialogs offer, how a file of the format is recognised from its first bytes
// (whatever type the user picked), and the pure reader and writer. A new
// format is one new row.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/file_type_filters.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik {

// Settings a writer needs beyond the waypoints.
struct WaypointWriteOptions {
  TrackTime now = 0;  // formats that stamp the file with the time of writing
  int32_t programVersion = kTrelvikVersion;  // 100 x major + minor, in the GPX creator
};

using WaypointFileReader = WaypointFileRead (*)(std::string_view bytes, const FileReadContext& context);
using WaypointFileWriter = FileWriteResult (*)(const WaypointFileRecords& records,
                                               const WaypointWriteOptions& options);
// True when the file's first bytes are of this format.
using WaypointFileRecogniser = bool (*)(std::string_view bytes);

struct WaypointFileFormat {
  std::string_view name;                         // stable, for tests and logs: "gpx-waypoints"
  std::span<const std::string_view> extensions;  // lower case with the dot; the first is the dialogs'
  std::string_view saveTypeName;                 // "Save waypoints": "GPX" gives "GPX files (*.gpx)"
  int saveIndex = 0;                             // 1-based place in that list (the stored WptExportExt)
  std::string_view openTypeName;                 // "Read waypoints"; empty when another row's entry covers it
  int openIndex = 0;                             // 1-based place in that list (WptImportExt); 0: none
  int recogniseOrder = 0;                        // the order in which the first bytes are tried; 0: never
  uint32_t flags = 0;                            // FileFormatFlag
  WaypointFileRecogniser recognises = nullptr;   // nullptr: not recognised in this version
  WaypointFileReader read = nullptr;             // nullptr: not readable in this version
  WaypointFileWriter write = nullptr;            // nullptr: not writable in this version

  std::string_view Extension() const { return extensions.empty() ? std::string_view{} : extensions.front(); }
};

// Every row, in the order of the "Save waypoints" list.
[[nodiscard]] std::span<const WaypointFileFormat> WaypointFileFormats();

// The row by its stable name; nullptr when there is none.
[[nodiscard]] const WaypointFileFormat* FindWaypointFileFormat(std::string_view name);

// The readable row that recognises the file's first bytes, tried in the
// recognition order; nullptr when none does.
[[nodiscard]] const WaypointFileFormat* RecogniseWaypointFile(std::string_view bytes);

// The dialogs' lists, in their order, and their entries: FileTypeFilterList
// makes the save dialog's list, FileTypeFilterListThenAll the open dialog's.
[[nodiscard]] std::vector<const WaypointFileFormat*> WaypointFileSaveList();
[[nodiscard]] std::vector<const WaypointFileFormat*> WaypointFileOpenList();
[[nodiscard]] std::vector<FileTypeChoice> WaypointSaveChoices();
[[nodiscard]] std::vector<FileTypeChoice> WaypointOpenChoices();

}  // namespace trelvik
