#include "automation/batch_log_file.hpp"

#include <array>
#include <string_view>

#include "automation/command_line.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/track_stores.hpp"
#include "trackfiles/gpx_track_reader.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_command_line.hpp"
#include "trackfiles/kml_track_reader.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Reading track log file";

// Extensions a track log file may have, compared exactly (lower case only).
constexpr std::array<std::string_view, 9> kTrackLogExtensions = {".kml", ".plt", ".dat", ".tnc", ".mps",
                                                                 ".log", ".igc", ".gpx", ".csv"};

// The text from the last "." of the file's own name; empty when it has none.
std::string_view ExtensionOf(std::string_view fileName) {
  const size_t slash = fileName.rfind('/');
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return fileName.substr(dot);
}

// The file's bytes; nothing after the fault was shown.
std::optional<std::string> ReadTrackLogBytes(UserInterface& ui, const std::string& fileName) {
  IgcFileBytes file = ReadIgcFileBytes(fileName);
  const char* fault = nullptr;
  switch (file.fault) {
    case IgcFileFault::None: return std::move(file.bytes);
    case IgcFileFault::Open: fault = "Error opening file"; break;
    case IgcFileFault::Size: fault = "Error opening track log file"; break;
    case IgcFileFault::Memory: fault = "File buffer memory allocation"; break;
    case IgcFileFault::Read: fault = "Track log file read error"; break;
    case IgcFileFault::Empty: fault = "File is empty"; break;
  }
  ShowError(ui, fault, kReadCaption);
  return std::nullopt;
}

// An IGC file: the reader has already made the file the log's raw IGC image,
// which the installation keeps.
void InstallIgcLog(TrackLog& log, std::vector<TrackPoint> points, int32_t utcTimes, const SystemTime& now) {
  std::string rawIgc = std::move(log.rawIgc);
  const TrackTime rawIgcDate = log.rawIgcDate;
  std::string rawIgcMaker = std::move(log.rawIgcMaker);
  std::string rawIgcSerial = std::move(log.rawIgcSerial);
  InstallFileLog(log, std::move(points), utcTimes != 0, true, now);
  log.rawIgc = std::move(rawIgc);
  log.rawIgcDate = rawIgcDate;
  log.rawIgcMaker = std::move(rawIgcMaker);
  log.rawIgcSerial = std::move(rawIgcSerial);
}

}  // namespace

BatchTrackChooser FirstTrackTaken(UserInterface& ui) {
  return [&ui](const TrackListRequest& request) {
    ShowInfo(ui, "1 taken", request.title);
    return 0;
  };
}

int OpenTrackLogFile(UserInterface& ui, const std::string& fileName, TrackLog& log,
                     const BatchTrackChooser& chooseTrack, const SystemTime& now) {
  const std::string_view extension = ExtensionOf(fileName);
  if (extension.empty()) {
    ShowError(ui, "Missing track log file extension", kParsingCaption);
    return -1;
  }
  bool known = false;
  for (const std::string_view candidate : kTrackLogExtensions) known = known || candidate == extension;
  if (!known) {
    ShowError(ui, "Unsupported track log file extension", kParsingCaption);
    return -1;
  }
  if (extension != ".igc" && extension != ".kml" && extension != ".gpx") {
    ShowError(ui,
              CFormat("Reading %.*s track log files is not available in this version",
                      static_cast<int>(extension.size()), extension.data()),
              kReadCaption);
    return -1;
  }
  const std::optional<std::string> bytes = ReadTrackLogBytes(ui, fileName);
  if (!bytes) return -1;

  int count = 0;
  if (extension == ".igc") {
    IgcTrackLogRead read = ReadIgcTrackLog(ui, *bytes, log);
    count = read.Count();
    if (count > 0) InstallIgcLog(log, std::move(read.points), read.utcTimes, now);
  } else {
    XmlTrackResult read =
        extension == ".kml" ? ReadKmlTrack(ui, *bytes, false, chooseTrack) : ReadGpxTrack(ui, *bytes, chooseTrack);
    count = read.Count();
    if (count > 0) InstallFileLog(log, std::move(read.points), read.utcTimes != 0, read.hasPressureAltitude != 0, now);
  }
  ui.SetStatus(count > 0 ? CFormat("%d positions read (Signature ignored)", count) : std::string("No positions found"));
  ui.SetProduct(fileName);
  return count > 0 ? 0 : -1;
}

bool KmlSignatureValid(UserInterface& ui, const std::string& fileName, const BatchTrackChooser& chooseTrack) {
  return CheckKmlFile(ui, fileName, chooseTrack) == kKmlSignatureValid;
}

}  // namespace trelvik
