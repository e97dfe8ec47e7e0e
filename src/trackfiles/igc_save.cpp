#include "trackfiles/igc_save.hpp"

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_names.hpp"
#include "trackfiles/igc_records.hpp"

namespace trelvik {
namespace {

constexpr std::string_view kWriteCaption = "Write IGC track log file";
constexpr std::string_view kCheckCaption = "Checking IGC parameters";
constexpr std::string_view kRawCheckCaption = "IGC file parameter check";
constexpr size_t kTextLimit = 80;
constexpr size_t kFlightNumberLimit = 10;
constexpr size_t kRawFlightNumberLimit = 7;
constexpr size_t kSerialLimit = 3;
constexpr int kLastFlightNumber = 35;

// A dialog field as the edit-field reader returns it: its first line, at most
// `maximum` characters (a UTF-8 character is never split), blanks collapsed.
std::string ReadField(const std::string& field, size_t maximum) {
  std::string_view text(field);
  text = text.substr(0, text.find_first_of("\r\n"));
  size_t end = 0;
  for (size_t characters = 0; end < text.size() && characters < maximum; ++characters) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  std::string read(text.substr(0, end));
  CollapseBlanks(read);
  return read;
}

uint32_t NameBits(bool longName, bool shortName) {
  return (longName ? kIgcMaskLongName : 0) | (shortName ? kIgcMaskShortName : 0);
}

// Runs the save dialog and the overwrite question; nothing when the user gives up.
std::optional<std::string> ChooseIgcFile(UserInterface& ui, std::string& igcDir, const std::string& proposedName) {
  return SaveFileDialog(ui, "Save track log", "IGC track log files", ".igc", igcDir, proposedName);
}

}  // namespace

IgcDialogFields IgcDialogFieldsFromSettings(const IgcSettings& settings) {
  IgcDialogFields fields;
  fields.pilot = settings.igcPilotName;
  fields.flightNumber = settings.igcFlightNo;
  fields.serial = settings.igcContestId;
  fields.gliderType = settings.igcGliderType;
  fields.gliderId = settings.igcGliderId;
  fields.site = settings.igcSite;
  fields.competitionClass = settings.igcClass;
  fields.longName = (settings.igcSaveMask & kIgcMaskLongName) != 0;
  fields.shortName = (settings.igcSaveMask & kIgcMaskShortName) != 0;
  fields.addEnl = settings.igcAddEnl != 0;
  return fields;
}

RawIgcDialogFields RawIgcDialogFieldsFromSettings(const IgcSettings& settings) {
  return {settings.igcFlightNo, (settings.igcSaveMask & kIgcMaskLongName) != 0,
          (settings.igcSaveMask & kIgcMaskShortName) != 0};
}

void ToggleIgcNameBox(bool& clicked, bool& other) {
  clicked = !clicked;
  if (clicked) other = false;
}

bool BeginIgcSave(UserInterface& ui, std::vector<TrackPoint>& positions, const IgcVarioFilter& varioFilter) {
  if (positions.empty()) {
    ShowError(ui, "No position(s) selected", kWriteCaption);
    return false;
  }
  if (positions.size() == 1 && AskOkCancel(ui, "Only one position selected, continue ?", kWriteCaption) != Answer::Ok) {
    return false;
  }
  if (varioFilter) {
    const int32_t removed = varioFilter(positions);
    if (removed > 0)
      ShowInfo(ui, CFormat("%d positions have been removed due to vario filtering", removed), kWriteCaption);
  }
  return true;
}

std::optional<int> CheckIgcFlightNumber(UserInterface& ui, const std::string& field, size_t maximum,
                                        std::string_view caption) {
  const std::string text = ReadField(field, maximum);
  if (text.empty()) {
    ShowError(ui, "Missing flight number", caption);
    return std::nullopt;
  }
  int32_t number = 0;
  if (ParseUnsignedInt(text, number) < 0) {
    ShowError(ui, "Bad flight number input", caption);
    return std::nullopt;
  }
  if (number < 1 || number > kLastFlightNumber) {
    ShowError(ui, "Flight number out of range", caption);
    return std::nullopt;
  }
  return number;
}

std::optional<IgcParameters> CheckIgcParameters(UserInterface& ui, const IgcDialogFields& fields) {
  IgcParameters p;
  p.pilot = ReadField(fields.pilot, kTextLimit);
  if (p.pilot.empty()) {
    ShowError(ui, "Missing pilot name", kCheckCaption);
    return std::nullopt;
  }
  const std::optional<int> flightNumber =
      CheckIgcFlightNumber(ui, fields.flightNumber, kFlightNumberLimit, kCheckCaption);
  if (!flightNumber) return std::nullopt;
  p.flightNumber = *flightNumber;
  p.flightNumberText = ReadField(fields.flightNumber, kFlightNumberLimit);

  p.serial = ReadField(fields.serial, kSerialLimit);
  if (p.serial.empty()) {
    ShowError(ui, "Missing FR serial number", kCheckCaption);
    return std::nullopt;
  }
  if (p.serial.size() < kSerialLimit) {
    ShowError(ui, "FR serial number string too short", kCheckCaption);
    return std::nullopt;
  }
  for (const char c : p.serial) {
    if (!IsIgcAlphaNumeric(c)) {
      ShowError(ui, "FR serial number not alpha-numeric", kCheckCaption);
      return std::nullopt;
    }
  }
  p.gliderType = ReadField(fields.gliderType, kTextLimit);
  p.gliderId = ReadField(fields.gliderId, kTextLimit);
  p.site = ReadField(fields.site, kTextLimit);
  p.competitionClass = ReadField(fields.competitionClass, kTextLimit);
  p.saveMask = kIgcMaskSecurity | NameBits(fields.longName, fields.shortName);
  p.addEnl = fields.addEnl;
  return p;
}

IgcSaveResult SaveIgcLog(UserInterface& ui, TrackLog& log, const std::vector<TrackPoint>& positions,
                         const IgcDialogFields& fields, IgcSettings& settings) {
  IgcSaveResult result;
  const std::optional<IgcParameters> p = CheckIgcParameters(ui, fields);
  if (!p) return result;

  const TrackTime firstFix = positions.empty() ? 0 : positions.front().time;
  if (p->saveMask & kIgcMaskLongName) {
    result.proposedName = IgcLongName(firstFix, p->serial, p->flightNumber);
  } else if (p->saveMask & kIgcMaskShortName) {
    result.proposedName = IgcShortName(firstFix, p->serial, p->flightNumber);
  }
  const std::optional<std::string> path = ChooseIgcFile(ui, settings.igcDir, result.proposedName);
  if (!path) return result;

  IgcEncoderInput input;
  input.points = positions;
  input.signable = log.signable;
  input.pilot = p->pilot;
  input.gliderType = p->gliderType;
  input.gliderId = p->gliderId;
  input.competitionClass = p->competitionClass;
  input.site = p->site;
  input.description = log.description;
  input.serial = p->serial;
  input.downloadTime = log.downloadTime;
  input.wantSecurity = true;
  input.addEnl = p->addEnl;
  const EncodedIgc encoded = EncodeIgc(input);
  if (encoded.length <= 0) {
    ShowError(ui, kMemoryAllocationError, "Encoding .igc file");
    return result;
  }
  if (const FileWriteError error = WriteFileAtomically(*path, encoded.text)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return result;
  }
  result.path = *path;
  if ((p->saveMask & kIgcMaskSecurity) && !encoded.isSigned) {
    ShowInfo(ui, "Track log source is not valid for G-record", "Security record NOT included");
  }

  settings.igcPilotName = p->pilot;
  settings.igcFlightNo = p->flightNumberText;
  settings.igcContestId = p->serial;
  settings.igcGliderType = p->gliderType;
  settings.igcGliderId = p->gliderId;
  settings.igcSite = p->site;
  settings.igcClass = p->competitionClass;
  settings.igcSaveMask = p->saveMask;
  ui.SetProduct(*path);
  ui.SetStatus(CFormat("%d positions written", static_cast<int>(positions.size())));
  log.saved = 1;
  result.outcome = IgcDialogOutcome::Close;
  return result;
}

bool BeginRawIgcSave(UserInterface& ui, const TrackLog& log) {
  if (log.rawIgc.empty()) {
    ShowError(ui, "No raw IGC log stored", "Save IGC log");
    return false;
  }
  return true;
}

IgcSaveResult SaveRawIgcLog(UserInterface& ui, TrackLog& log, const RawIgcDialogFields& fields, IgcSettings& settings) {
  IgcSaveResult result;
  if (!BeginRawIgcSave(ui, log)) {
    result.outcome = IgcDialogOutcome::Close;
    return result;
  }
  const std::optional<int> flightNumber =
      CheckIgcFlightNumber(ui, fields.flightNumber, kRawFlightNumberLimit, kRawCheckCaption);
  if (!flightNumber) return result;

  if (fields.longName) {
    result.proposedName = IgcRawLongName(log.rawIgcDate, log.rawIgcMaker, log.rawIgcSerial, *flightNumber);
  } else if (fields.shortName) {
    result.proposedName = IgcShortName(log.rawIgcDate, log.rawIgcSerial, *flightNumber);
  }
  const std::optional<std::string> path = ChooseIgcFile(ui, settings.igcDir, result.proposedName);
  if (!path) return result;

  if (const FileWriteError error = WriteFileAtomically(*path, log.rawIgc)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return result;
  }
  result.path = *path;
  settings.igcFlightNo = ReadField(fields.flightNumber, kRawFlightNumberLimit);
  settings.igcSaveMask =
      (settings.igcSaveMask & ~(kIgcMaskLongName | kIgcMaskShortName)) | NameBits(fields.longName, fields.shortName);
  log.saved = 1;
  result.outcome = IgcDialogOutcome::Close;
  return result;
}

}  // namespace trelvik
