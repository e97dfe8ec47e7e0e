#include "automation/batch_log_file.hpp"

#include <string_view>

#include "automation/command_line.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/track_stores.hpp"
#include "records/track_time.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_command_line.hpp"
#include "trackfiles/track_file_formats.hpp"
#include "trackfiles/track_file_read.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Reading track log file";

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

// Installs what the reader gave as a file log; an IGC file stays the log's
// raw image, so that it can be saved again unchanged.
void InstallTrackFile(TrackLog& log, TrackFileRecords records, const SystemTime& now) {
  InstallFileLog(log, std::move(records.points), records.utcTimes != 0, records.hasPressureAltitude != 0, now);
  if (records.rawIgc) InstallRawIgcImage(log, std::move(*records.rawIgc));
}

}  // namespace

BatchTrackChooser FirstTrackTaken(UserInterface& ui) {
  return [&ui](const TrackListRequest& request) {
    ShowInfo(ui, "1 taken", request.title);
    return 0;
  };
}

int OpenTrackLogFile(UserInterface& ui, const std::string& fileName, TrackLog& log,
                     const BatchTrackChooser& chooseTrack, const SystemTime& now, int32_t utcOffsetForTn) {
  const std::string_view extension = FileExtensionOf(fileName);
  if (extension.empty()) {
    ShowError(ui, "Missing track log file extension", kParsingCaption);
    return -1;
  }
  const TrackFileFormat* format = TrackFileFormatForExtension(extension);
  if (format == nullptr) {
    ShowError(ui, "Unsupported track log file extension", kParsingCaption);
    return -1;
  }
  if (format->read == nullptr) {
    ShowError(ui,
              CFormat("Reading %.*s track log files is not available in this version",
                      static_cast<int>(extension.size()), extension.data()),
              kReadCaption);
    return -1;
  }
  const std::optional<std::string> bytes = ReadTrackLogBytes(ui, fileName);
  if (!bytes) return -1;

  std::optional<TrackFileRecords> records =
      ReadTrackFileShown(ui, *format, *bytes, chooseTrack, TrackTimeFromDate(now), utcOffsetForTn);
  const int count = records ? records->Count() : 0;
  if (count > 0) InstallTrackFile(log, std::move(*records), now);
  ui.SetStatus(count > 0 ? CFormat("%d positions read (Signature ignored)", count) : std::string("No positions found"));
  ui.SetProduct(fileName);
  return count > 0 ? 0 : -1;
}

bool KmlSignatureValid(UserInterface& ui, const std::string& fileName, const BatchTrackChooser& chooseTrack) {
  return CheckKmlFile(ui, fileName, chooseTrack) == kKmlSignatureValid;
}

}  // namespace trelvik
