#include "trackfiles/kml_flightlog.hpp"

#include <cstring>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {
namespace {

constexpr const char* kSaveCaption = "Save Logbook file";

class FolderFinder : public XmlElementHandler {
 public:
  explicit FolderFinder(const char* base) : base_(base) {}
  bool found = false;
  bool closed = false;
  KmlFolderSpan span;

  XmlStep OnStart(const char* name, char*, int depth, const XmlToken& token) override {
    if (!found && std::strcmp(name, "Folder") == 0) {
      found = true;
      depth_ = depth;
      span.begin = static_cast<size_t>(token.begin - base_);
    }
    return XmlStep::Continue;
  }
  XmlStep OnEnd(const char* name, char*, int depth, const XmlToken& token) override {
    if (found && depth == depth_ && std::strcmp(name, "Folder") == 0) {
      closed = true;
      span.end = static_cast<size_t>(token.end - base_);
    }
    return XmlStep::Continue;
  }

 private:
  const char* base_;
  int depth_ = 0;
};

// The existing logbook's folders followed by the new one, or nothing (shown).
std::optional<std::string> AppendedLogbook(UserInterface& ui, const std::string& path, const std::string& folder) {
  const IgcFileBytes file = ReadIgcFileBytes(path);
  switch (file.fault) {
    case IgcFileFault::None:
      break;
    case IgcFileFault::Open:
    case IgcFileFault::Size:
      ShowSystemError(ui, "Error opening existing file", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Memory:
      ShowSystemError(ui, "File buffer memory allocation", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Read:
      ShowSystemError(ui, "Error reading existing file", file.errorNumber);
      return std::nullopt;
    case IgcFileFault::Empty:
      ShowError(ui, "Existing file is empty", kSaveCaption);
      return std::nullopt;
  }
  KmlFolderSpan span;
  if (FindKmlFolders(file.bytes, span) != 0) {
    ShowError(ui, "Error(s) parsing existing file", kSaveCaption);
    return std::nullopt;
  }
  std::string text(kKmlFileHead);
  text += "  ";  // in place of the two characters before the first folder, whatever they were
  text.append(file.bytes, span.begin, span.end - span.begin);
  text += "\r\n";
  text += folder;
  text += kKmlFileTail;
  return text;
}

}  // namespace

std::string FlightLogProposedName(const KmlTripInput& input) {
  const SystemTime t = DateFromTrackTime(input.points.empty() ? 0 : input.points.front().time);
  return CFormat("%d-%02d-%02d_%02d-%02d", t.year, t.month, t.day, t.hour, t.minute);
}

int FindKmlFolders(std::string_view text, KmlFolderSpan& span) {
  std::string copy(text);
  FolderFinder finder(copy.c_str());
  XmlWalkOptions options;
  // Processing instructions are no elements: the logbook's own declaration must not stay "open".
  options.skipProcessingInstructions = true;
  std::string error;
  if (WalkXml(copy.data(), options, finder, error) != kXmlWalkDone) return -1;
  if (!finder.closed || finder.span.begin >= finder.span.end) return -1;
  span = finder.span;
  return 0;
}

int SaveFlightLogTrack(UserInterface& ui, const KmlTripInput& input, std::optional<std::string_view> title,
                       std::optional<std::string_view> instrument, std::string& folder,
                       const ExistingLogbookQuestion& askExisting) {
  TextBuffer buffer(kKmlTripBufferStart);
  const int built = BuildKmlTrip(buffer, input, title, instrument);
  if (built == kKmlTripBadTitle) {
    ShowError(ui, "Wide character conversion error", "Make GoogleEarth track folder");
    return -1;
  }
  if (built != 0) {
    ShowError(ui, kMemoryAllocationError, "Make GoogleEarth track folder");
    return -1;
  }
  const std::optional<std::string> path = ChooseFileName(ui, FileDialogKind::Save, "Save track for FlightLog",
                                                        "FlightLog files", ".kml", folder, FlightLogProposedName(input));
  if (!path) return -1;

  std::string text;
  if (FileExists(*path)) {
    const ExistingLogbookAnswer answer = askExisting ? askExisting(*path) : ExistingLogbookAnswer::Cancel;
    if (answer == ExistingLogbookAnswer::Cancel) return -1;
    if (answer == ExistingLogbookAnswer::Append) {
      std::optional<std::string> appended = AppendedLogbook(ui, *path, buffer.Text());
      if (!appended) return -1;
      text = std::move(*appended);
    }
  }
  if (text.empty()) text = std::string(kKmlFileHead) + buffer.Text() + std::string(kKmlFileTail);
  if (const FileWriteError error = WriteFileAtomically(*path, text)) {
    ShowSystemError(ui, error.operation == "create" ? "Error opening new file" : "File write error",
                    error.errorNumber);
    return -1;
  }
  ShowInfo(ui, input.isSigned == 1 ? "Track saved (Signature OK)" : "Track saved (NO signature)",
           "Save FlightLog track");
  return 0;
}

}  // namespace trelvik
