#include "trackfiles/dat_command_line.hpp"

#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/dat_track.hpp"
#include "trackfiles/file_read_report.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/kml_track_file.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Reading .dat log file";
constexpr size_t kMaxFileName = 256;

}  // namespace

std::optional<std::vector<TrackPoint>> ReadDatForCommandLine(UserInterface& ui, const std::string& fileName) {
  const std::string path = fileName + ".dat";
  if (path.size() > kMaxFileName) {
    ShowError(ui, "File name too long", kCaption);
    return std::nullopt;
  }
  IgcFileBytes file = ReadIgcFileBytes(path);
  switch (file.fault) {
    case IgcFileFault::None: break;
    case IgcFileFault::Open: ShowSystemError(ui, "Error opening file", file.errorNumber); return std::nullopt;
    case IgcFileFault::Size: ShowSystemError(ui, "Error opening .dat Log File", file.errorNumber); return std::nullopt;
    case IgcFileFault::Empty: ShowError(ui, "File is empty", kCaption); return std::nullopt;
    case IgcFileFault::Read:
      ShowSystemError(ui, ".dat track log file read error", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Memory: ShowError(ui, kMemoryAllocationError, kCaption); return std::nullopt;
  }
  TrackFileRead read = ReadDatTrack(file.bytes);
  if (!ShowFileRead(ui, read)) return std::nullopt;
  return std::move(read.records.points);
}

int ConvertDatToKml(UserInterface& ui, const std::string& fileName, bool overwrite, const OptimiseOptions& optimise) {
  const std::optional<std::vector<TrackPoint>> points = ReadDatForCommandLine(ui, fileName);
  if (!points || points->empty()) return -1;
  // The old FlightLog kept GPS altitudes only and did not say its times were UTC.
  return WriteKmlTrackFile(ui, KmlTrackFileTarget{fileName, false, overwrite}, *points, 0, 0, 0, std::nullopt,
                           optimise);
}

}  // namespace trelvik
