// IGC_LOG: the downloaded log as an IGC file, named by date, serial and the
// first free flight number of the day when the command line named a folder.
#include "instruments/protocol_table.hpp"
#include "automation/batch_output.hpp"
#include "automation/output_file_create.hpp"
#include "automation/output_file_name.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_names.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Save IGC log";
constexpr int kLastFlightNumber = 35;

// The file's bytes and what its name is made of.
struct IgcOutput {
  std::string bytes;
  TrackTime date = 0;
  std::string serial;
  bool raw = false;  // the instrument's own file, saved unchanged
  int positions = 0;
};

// Instruments whose own IGC file is saved rather than one the program encodes.
bool SavesInstrumentFile(GpsType type) {
  const ProtocolRow* row = CommandLineRow(type);
  return row != nullptr && row->rawImage == RawImage::IgcFile;
}

int Fail(const BatchOutputContext& context, const char* text) {
  context.cancelExit();
  ShowError(context.ui, text, kCaption);
  return kOutputFailed;
}

// The failure of a write that was allowed to take the name.
int FailWrite(const BatchOutputContext& context, const std::string& operation) {
  return Fail(context, operation == "create" ? "File open error" : "File write error");
}

// The bytes to write; nothing after a failure that has been shown, or when
// the split was cancelled (`cancelled` set).
std::optional<IgcOutput> MakeIgcOutput(const TrackLog& log, const BatchOutputContext& context, bool& cancelled) {
  IgcOutput output;
  if (SavesInstrumentFile(context.job.gpsType)) {
    if (log.rawIgc.empty()) {
      ShowError(context.ui, "No log stored", kCaption);
      return std::nullopt;
    }
    output.bytes = log.rawIgc;
    output.date = log.rawIgcDate;
    output.serial = log.rawIgcSerial;
    output.raw = true;
    return output;
  }
  if (log.points.empty()) {
    ShowError(context.ui, "No positions", kCaption);
    return std::nullopt;
  }
  std::vector<TrackPoint> points;
  switch (SplitForOutput(log, context, kCaption, points)) {
    case SplitOutcome::Kept: break;
    case SplitOutcome::Cancelled: cancelled = true; return std::nullopt;
    case SplitOutcome::Failed: return std::nullopt;
  }
  IgcEncoderInput input;
  input.points = points;
  input.signable = log.signable;
  input.pilot = context.job.pilot;
  input.gliderId = context.job.gliderId;
  input.description = log.description;
  input.serial = "000";
  input.downloadTime = log.downloadTime;
  input.wantSecurity = true;  // written only when the log is signable
  EncodedIgc encoded = EncodeIgc(input);
  if (encoded.length <= 0) {
    ShowError(context.ui, kMemoryAllocationError, kCaption);
    return std::nullopt;
  }
  output.bytes = std::move(encoded.text);
  output.date = points.front().time;
  output.serial = "000";
  output.positions = static_cast<int>(points.size());
  return output;
}

}  // namespace

int WriteBatchIgc(const TrackLog& log, const BatchOutputContext& context) {
  bool cancelled = false;
  const std::optional<IgcOutput> output = MakeIgcOutput(log, context, cancelled);
  if (!output) return cancelled ? kOutputLeftAlone : kOutputFailed;

  const IgcTarget target = IgcTargetOf(ExpandDateInFileName(context.job.fileName, output->date, kFileNameLimit));
  const auto pathOf = [&](int flightNumber) {
    return target.NamesFolder() ? target.folder + IgcBatchName(output->date, output->serial, flightNumber, output->raw)
                                : target.file;
  };
  if (CharacterCount(pathOf(1)) >= kFileNameLimit) {
    ShowError(context.ui, "Too long file name", kCaption);
    return kOutputFailed;
  }

  std::string written;
  if (context.job.overwrite) {
    written = pathOf(1);
    if (const FileWriteError error = WriteFileAtomically(written, output->bytes)) {
      return FailWrite(context, error.operation);
    }
  } else {
    // A file name given in full has only one "flight number" to try.
    const int last = target.NamesFolder() ? kLastFlightNumber : 1;
    for (int flightNumber = 1; flightNumber <= last && written.empty(); ++flightNumber) {
      const std::string path = pathOf(flightNumber);
      const NewFileResult result = CreateNewFile(path, output->bytes);
      if (result.outcome == NewFileOutcome::Created) written = path;
      if (result.outcome == NewFileOutcome::Failed) return FailWrite(context, result.operation);
    }
    if (written.empty()) return Fail(context, "No free flight number available");
  }
  if (output->raw) {
    context.ui.SetProduct(written);
  } else {
    context.ui.SetStatus(CFormat("%d positions written", output->positions));
  }
  return kOutputWritten;
}

}  // namespace trelvik
