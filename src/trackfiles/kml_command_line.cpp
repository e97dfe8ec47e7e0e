#include "trackfiles/kml_command_line.hpp"

#include "base/message_box.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_track_file.hpp"
#include "trackfiles/track_file_read.hpp"

namespace trelvik {

int ConvertIgcToKml(UserInterface& ui, const std::string& fileName, bool overwrite, const OptimiseOptions& optimise) {
  const std::optional<BulkTrackPoints> points = ReadIgcForCommandLine(ui, fileName);
  if (!points || points->empty()) return -1;
  // A converted file is no instrument's own log: no signature, times unmarked,
  // the IGC pressure altitudes kept.
  return WriteKmlTrackFile(ui, KmlTrackFileTarget{fileName, false, overwrite}, *points, 0, 0, 1, std::nullopt,
                           optimise);
}

int CheckKmlFile(UserInterface& ui, const std::string& path, const FileTrackChooser& chooseTrack) {
  constexpr const char* kCaption = "Reading track log file";
  const IgcFileBytes file = ReadIgcFileBytes(path);
  const char* fault = nullptr;
  switch (file.fault) {
    case IgcFileFault::None:
      break;
    case IgcFileFault::Open:
      fault = "Error opening file";
      break;
    case IgcFileFault::Size:
      fault = "Error opening track log file";
      break;
    case IgcFileFault::Memory:
      fault = "File buffer memory allocation";
      break;
    case IgcFileFault::Read:
      fault = "Track log file read error";
      break;
    case IgcFileFault::Empty:
      fault = "File is empty";
      break;
  }
  if (fault != nullptr) {
    ShowError(ui, fault, kCaption);
    return kKmlCheckFailed;
  }
  // Without a chooser (a run without a window) the preselected first track is
  // taken, and the console is told so: "Track List: 1 taken".
  const FileTrackChooser firstTrack = [&ui](const TrackListRequest& request) {
    ShowInfo(ui, "1 taken", request.title);
    return 0;
  };
  // A KML track takes every time from the file, so the reading needs no clock.
  const std::optional<TrackFileRecords> track = ReadTrackFileShown(
      ui, *FindTrackFileFormat("kml-track"), file.bytes, chooseTrack ? chooseTrack : firstTrack, TrackTime{0});
  if (!track || track->points.empty()) {
    ui.SetStatus("No positions found");
    return kKmlSignatureMissing;
  }
  return track->signatureValid == 2 ? kKmlSignatureValid : kKmlSignatureMissing;
}

}  // namespace trelvik
