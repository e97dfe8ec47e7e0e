#include "trackfiles/track_conversions.hpp"

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/kml_track_file.hpp"
#include "trackfiles/kml_track_reader.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {
namespace {

constexpr size_t kMaxPath = 260;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return lower;
}

// The converted text, or the message (under the command's caption) that stops the run.
std::optional<std::string> Convert(UserInterface& ui, TrackConversion direction, const std::string& bytes,
                                   const OptimiseOptions& optimise, TrackTime now, const char* caption) {
  if (direction == TrackConversion::IgcToKml) {
    const IgcDecodeResult decoded = DecodeIgc(bytes);
    if (!decoded.Ok()) {
      ShowError(ui, "File decode error", caption);
      return std::nullopt;
    }
    KmlTrackFileText file = FormatKmlTrackFile(decoded.points, 0, 0, 1, std::nullopt, optimise);
    if (file.failure) {
      ShowError(ui, file.failure->text, caption);
      return std::nullopt;
    }
    return std::move(file.text);
  }
  const TrackFileRead read = ReadKmlTrack(bytes);
  if (!read.Ok() || read.records.points.empty()) {
    ShowError(ui, "File decode error", caption);
    return std::nullopt;
  }
  IgcEncoderInput input;
  input.points = read.records.points;
  input.downloadTime = DateFromTrackTime(now);
  input.serial = "000";
  EncodedIgc encoded = EncodeIgc(input);
  if (encoded.length <= 0) {
    ShowError(ui, "Memory allocation  error", caption);
    return std::nullopt;
  }
  return std::move(encoded.text);
}

}  // namespace

TrackConversionTexts TextsOf(TrackConversion direction) {
  return direction == TrackConversion::IgcToKml
             ? TrackConversionTexts{"Convert .igc file(s) to .kml", "Log", ".igc", "Convert .igc to .kml"}
             : TrackConversionTexts{"Convert .kml file(s) to .igc", "Log", ".kml", "Convert .kml to .igc"};
}

TrackConversionResult ConvertTrackFiles(UserInterface& ui, TrackConversion direction,
                                        const std::vector<std::string>& files, const OptimiseOptions& optimise,
                                        TrackTime now) {
  const TrackConversionTexts texts = TextsOf(direction);
  const std::string from = direction == TrackConversion::IgcToKml ? ".igc" : ".kml";
  const std::string to = direction == TrackConversion::IgcToKml ? ".kml" : ".igc";
  TrackConversionResult result;
  for (const std::string& path : files) {
    if (path.size() > kMaxPath) {
      ShowError(ui, "Too long filename", texts.caption);
      break;
    }
    if (Lower(FileExtensionOf(path)) != from) {
      ShowError(ui, "File contains invalid extension", texts.caption);
      break;
    }
    ui.SetStatus(path);
    const IgcFileBytes file = ReadIgcFileBytes(path);
    const char* fault = nullptr;
    switch (file.fault) {
      case IgcFileFault::None: break;
      case IgcFileFault::Open: fault = "File open error"; break;
      case IgcFileFault::Size: fault = "File size read error"; break;
      case IgcFileFault::Empty: fault = "Empty file"; break;
      case IgcFileFault::Read: fault = "File read error"; break;
      case IgcFileFault::Memory: fault = "Memory allocation  error"; break;
    }
    if (fault != nullptr) {
      ShowError(ui, fault, texts.caption);
      break;
    }
    const std::optional<std::string> converted = Convert(ui, direction, file.bytes, optimise, now, texts.caption);
    if (!converted) break;
    const std::string target = path.substr(0, path.size() - from.size()) + to;
    // An existing file is replaced only after the save question; without a
    // window the negative answer leaves it alone.
    if (FileExists(target) && AskOkCancel(ui, "File already exists, overwrite ?", "File creation") != Answer::Ok) {
      ++result.leftAlone;
      continue;
    }
    if (const FileWriteError error = WriteFileAtomically(target, *converted)) {
      ShowError(ui, error.operation == "create" ? "File open error" : "File write error", texts.caption);
      break;
    }
    ++result.converted;
  }
  ui.SetStatus(result.leftAlone > 0 ? CFormat("%d file(s) converted, %d left as they were", result.converted,
                                              result.leftAlone)
                                    : CFormat("%d file(s) converted", result.converted));
  return result;
}

}  // namespace trelvik
