#pragma once
// The track file formats: one row per format with what the open and save
// dialogs offer, what the batch run recognises by extension, and the pure
// reader and writer. A new format is one new row.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/optimise_flight.hpp"
#include "records/track_time.hpp"
#include "trackfiles/csv_track.hpp"
#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/file_type_filters.hpp"
#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// Settings a writer needs beyond the records.
struct TrackWriteOptions {
  OptimiseOptions optimise;  // the analysis of a KML trip
  TrackTime now = 0;         // formats that stamp the file with the time of writing
  CsvColumns csv;            // the derived columns of a CSV file
};

using TrackFileReader = TrackFileRead (*)(std::string_view bytes, const FileReadContext& context);
using TrackFileWriter = FileWriteResult (*)(const TrackFileRecords& records, const TrackWriteOptions& options);

struct TrackFileFormat {
  std::string_view name;                      // stable, for tests and logs: "igc", "kml-track"
  std::span<const std::string_view> extensions;  // lower case with the dot; the first is the dialogs'
  std::string_view typeName;                  // the dialogs' type: "IGC" gives "IGC files (*.igc)"
  int openIndex = 0;                          // 1-based place in "&Open log"; 0: not offered
  int saveIndex = 0;                          // 1-based place in "Save log &As..."; 0: not offered
  uint32_t flags = 0;                         // FileFormatFlag
  TrackFileReader read = nullptr;             // nullptr: not readable in this version
  TrackFileWriter write = nullptr;            // nullptr: no writer from records
  std::string_view noWriter;                  // why a format that can be written has no writer here

  std::string_view Extension() const { return extensions.empty() ? std::string_view{} : extensions.front(); }
};

// Every row, in the order of the "&Open log" list.
[[nodiscard]] std::span<const TrackFileFormat> TrackFileFormats();

// The row by its stable name; nullptr when there is none.
[[nodiscard]] const TrackFileFormat* FindTrackFileFormat(std::string_view name);

// The row whose extensions hold `extension` exactly (lower case, with the dot);
// nullptr when none does.
[[nodiscard]] const TrackFileFormat* TrackFileFormatForExtension(std::string_view extension);

// The rows of the "&Open log" or the "Save log &As..." list, in their order,
// and their entries for the dialog (FileTypeFilterList makes its list).
[[nodiscard]] std::vector<const TrackFileFormat*> TrackFileOpenList();
[[nodiscard]] std::vector<const TrackFileFormat*> TrackFileSaveList();
[[nodiscard]] std::vector<FileTypeChoice> TrackOpenChoices();
[[nodiscard]] std::vector<FileTypeChoice> TrackSaveChoices();

// The text from the last "." of a path's file name; empty when it has none.
[[nodiscard]] std::string_view FileExtensionOf(std::string_view path);

}  // namespace trelvik
