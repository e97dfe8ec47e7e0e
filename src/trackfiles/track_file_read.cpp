#include "trackfiles/track_file_read.hpp"

#include "trackfiles/file_read_report.hpp"
#include "trackfiles/xml_track_list.hpp"

namespace trelvik {

std::optional<TrackFileRecords> ReadTrackFileShown(UserInterface& ui, const TrackFileFormat& format,
                                                   std::string_view bytes, const FileTrackChooser& chooseTrack,
                                                   TrackTime now, int32_t utcOffsetForTn) {
  if (format.read == nullptr) return std::nullopt;
  FileReadContext context;
  context.now = now;
  context.utcOffsetForTn = utcOffsetForTn;
  // Track readers only ask which of several tracks to read.
  const FileQuestionAsker ask = [&chooseTrack](const FileQuestion& question) {
    return ChooseTrack(chooseTrack, question.trackList);
  };
  TrackFileRead read = ReadAnswering<TrackFileRecords>(
      [&](const FileReadContext& answered) { return format.read(bytes, answered); }, context, ask,
      [&ui](const FileNotice& notice) { ShowFileNotice(ui, notice); });
  if (!ShowFileReadError(ui, read.status, read.error)) return std::nullopt;
  return std::move(read.records);
}

}  // namespace trelvik
