#include "trackfiles/igc_reader.hpp"

#include <new>

#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_file_read.hpp"

namespace trelvik {
namespace {

constexpr std::string_view kReadCaption = "Reading IGC log file";
constexpr size_t kMaxFileName = 256;

// Decodes and reports; the points, or nothing after the error was shown.
std::optional<IgcDecodeResult> DecodeReporting(UserInterface& ui, std::string_view bytes) {
  IgcDecodeResult decoded = DecodeIgc(bytes);
  if (!decoded.Ok()) {
    ShowError(ui, decoded.error, kReadCaption);
    return std::nullopt;
  }
  if (decoded.skippedRecords > 0) ShowInfo(ui, SkippedRecordsText(decoded.skippedRecords), kReadCaption);
  return decoded;
}

}  // namespace

IgcTrackLogRead ReadIgcTrackLog(UserInterface& ui, std::string_view bytes, TrackLog& log) {
  IgcTrackLogRead result;
  std::optional<IgcDecodeResult> decoded = DecodeReporting(ui, bytes);
  if (!decoded) return result;

  log.rawIgc.clear();
  log.rawIgc.shrink_to_fit();
  try {
    log.rawIgc.assign(bytes);
    log.rawIgcDate = decoded->points.front().time;
    log.rawIgcMaker = decoded->maker;
    log.rawIgcSerial = decoded->serial;
  } catch (const std::bad_alloc&) {
    // The points are still good; the log just has no raw image to save unchanged.
    log.rawIgc.clear();
    log.rawIgcDate = 0;
    log.rawIgcMaker.clear();
    log.rawIgcSerial = "000";
  }
  result.points = std::move(decoded->points);
  return result;
}

std::optional<std::vector<TrackPoint>> ReadIgcForCommandLine(UserInterface& ui, const std::string& fileName) {
  const std::string path = fileName + ".igc";
  if (path.size() > kMaxFileName) {
    ShowError(ui, "File name too long", kReadCaption);
    return std::nullopt;
  }
  IgcFileBytes file = ReadIgcFileBytes(path);
  switch (file.fault) {
    case IgcFileFault::None:
      break;
    case IgcFileFault::Open:
      ShowSystemError(ui, "Error opening file", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Size:
      ShowSystemError(ui, "Error opening IGC Log File", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Empty:
      ShowError(ui, "File is empty", kReadCaption);
      return std::nullopt;
    case IgcFileFault::Read:
      ShowSystemError(ui, "IGC track log file read error", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Memory:
      ShowError(ui, kMemoryAllocationError, kReadCaption);
      return std::nullopt;
  }
  std::optional<IgcDecodeResult> decoded = DecodeReporting(ui, file.bytes);
  if (!decoded) return std::nullopt;
  return std::move(decoded->points);
}

}  // namespace trelvik
