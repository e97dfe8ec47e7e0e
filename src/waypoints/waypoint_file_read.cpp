#include "waypoints/waypoint_file_read.hpp"

#include "base/message_box.hpp"
#include "trackfiles/file_read_report.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "waypoints/text_reader_support.hpp"
#include "waypoints/waypoint_file_formats.hpp"

namespace trelvik {

std::optional<std::string> ReadWaypointFileBytes(UserInterface& ui, const std::string& path,
                                                 std::string_view caption) {
  IgcFileBytes file = ReadIgcFileBytes(path);
  switch (file.fault) {
    case IgcFileFault::None: return std::move(file.bytes);
    case IgcFileFault::Open:
    case IgcFileFault::Size: ShowSystemError(ui, "Error opening waypoint file", file.errorNumber); break;
    case IgcFileFault::Memory: ShowError(ui, "File buffer memory allocation", caption); break;
    case IgcFileFault::Read: ShowSystemError(ui, "Waypoint file read error", file.errorNumber); break;
    case IgcFileFault::Empty: ShowError(ui, "File is empty", caption); break;
  }
  return std::nullopt;
}

std::optional<std::vector<Waypoint>> ReadWaypointFile(UserInterface& ui, std::string_view bytes, TrackTime now,
                                                      const FileQuestionAsker& ask) {
  const WaypointFileFormat* row = RecogniseWaypointFile(bytes);
  if (row == nullptr) {
    ShowError(ui, "No waypoints found", kDecodingWaypointFile);
    return std::vector<Waypoint>{};
  }
  FileReadContext context;
  context.now = now;
  context.canAsk = static_cast<bool>(ask);
  const WaypointFileRead read = ReadAnswering<WaypointFileRecords>(
      [&](const FileReadContext& answered) { return row->read(bytes, answered); }, context, ask,
      [&ui](const FileNotice& notice) { ShowFileNotice(ui, notice); });
  if (!ShowFileReadError(ui, read.status, read.error)) return std::nullopt;
  if (read.records.waypoints.empty()) ShowError(ui, "No waypoints found", kDecodingWaypointFile);
  return read.records.waypoints;
}

}  // namespace trelvik
