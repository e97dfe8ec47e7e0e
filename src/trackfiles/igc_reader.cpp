#include "trackfiles/igc_reader.hpp"

#include <new>

#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/file_read_report.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_file_read.hpp"

namespace trelvik {
namespace {

constexpr size_t kMaxFileName = 256;

void AddSkippedNotice(int32_t skippedRecords, std::vector<FileNotice>& notices) {
  if (skippedRecords > 0) {
    notices.push_back({FileNoticeKind::Information, SkippedRecordsText(skippedRecords), kIgcReadCaption});
  }
}

}  // namespace

TrackFileRead ReadIgcTrackFile(std::string_view bytes) {
  IgcDecodeResult decoded = DecodeIgc(bytes);
  if (!decoded.Ok()) return TrackFileRead::Failure(decoded.error, kIgcReadCaption, decoded.errorLine);
  TrackFileRead read;
  AddSkippedNotice(decoded.skippedRecords, read.notices);
  try {
    read.records.rawIgc = RawIgcImage{std::string(bytes), decoded.points.front().time, decoded.maker, decoded.serial};
  } catch (const std::bad_alloc&) {
    // The points are still good; the log just has no raw image to save unchanged.
    read.records.rawIgc.reset();
  }
  read.records.points = std::move(decoded.points);
  return read;
}

void InstallRawIgcImage(TrackLog& log, RawIgcImage image) {
  log.rawIgc = std::move(image.bytes);
  log.rawIgcDate = image.date;
  log.rawIgcMaker = std::move(image.maker);
  log.rawIgcSerial = std::move(image.serial);
}

std::optional<BulkTrackPoints> ReadIgcForCommandLine(UserInterface& ui, const std::string& fileName) {
  const std::string path = CommandLineIgcPath(fileName);
  if (path.size() > kMaxFileName) {
    ShowError(ui, "File name too long", kIgcReadCaption);
    return std::nullopt;
  }
  IgcBulkFileBytes file = ReadIgcFileBulk(path);
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
      ShowError(ui, "File is empty", kIgcReadCaption);
      return std::nullopt;
    case IgcFileFault::Read:
      ShowSystemError(ui, "IGC track log file read error", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Memory:
      ShowError(ui, kMemoryAllocationError, kIgcReadCaption);
      return std::nullopt;
  }
  // A conversion keeps no raw image: the file is decoded and dropped.
  BasicIgcDecodeResult<BulkTrackPoints> decoded = DecodeIgcBulk(file.View());
  FileReadOutcome<BulkTrackPoints> read;
  if (decoded.Ok()) {
    AddSkippedNotice(decoded.skippedRecords, read.notices);
    read.records = std::move(decoded.points);
  } else {
    read = FileReadOutcome<BulkTrackPoints>::Failure(decoded.error, kIgcReadCaption, decoded.errorLine);
  }
  if (!ShowFileRead(ui, read)) return std::nullopt;
  return std::move(read.records);
}

}  // namespace trelvik
