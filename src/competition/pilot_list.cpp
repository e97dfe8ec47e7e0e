#include "competition/pilot_list.hpp"

#include <cctype>
#include <cstring>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "competition/pilot_list_readers.hpp"
#include "trackfiles/windows1252.hpp"
#include "trackfiles/xml_tokenizer.hpp"
#include "waypoints/xml_root_element.hpp"

namespace trelvik {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class ListKind { Csv, Fs, Race };

// The kind of list `text` holds, told by its first tag; nothing with the
// message in `error`.
std::optional<ListKind> KindOf(const std::string& text, std::string& error) {
  std::string probe = text;  // the tokenizer writes into its text
  char* cursor = probe.data();
  XmlToken token;
  const int result = NextXmlToken(cursor, token);
  if (result == kXmlEndOfText) return ListKind::Csv;
  const std::string_view start = std::string_view(text).substr(
      text.find_first_not_of(" \t\r\n") == std::string::npos ? text.size() : text.find_first_not_of(" \t\r\n"));
  if (result == kXmlUnclosed) {
    if (!start.starts_with("<") && !start.starts_with(kUtf8Bom)) return ListKind::Csv;
    error = "End-of-file encountered within a tag";
    return std::nullopt;
  }
  const std::string_view name = token.name;
  const bool race = name == "RACE";
  const bool declaration = name == "?xml";
  if (token.text != nullptr && std::string_view(token.text) != kUtf8Bom) {
    // Text before a tag that is neither: a CSV list with a "<" in a name.
    if (!race && !declaration) return ListKind::Csv;
    error = race ? "Unknown BOM before opening tag '<RACE>'" : "Unknown BOM before opening tag '<?xml>'";
    return std::nullopt;
  }
  if (race) return ListKind::Race;
  if (declaration) return XmlRootElement(text) == "RACE" ? ListKind::Race : ListKind::Fs;
  error = "Missing opening tag '<?xml>'";
  return std::nullopt;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

int ParsePilotList(std::string_view bytes, std::vector<PilotEntry>& entries, std::string& error) {
  std::string text = FileTextToUtf8(bytes);
  const std::optional<ListKind> kind = KindOf(text, error);
  if (!kind) return -1;
  std::vector<PilotEntry> read;
  int result = 0;
  switch (*kind) {
    case ListKind::Csv: result = ReadCsvPilotList(text, read, error); break;
    case ListKind::Fs: result = ReadFsPilotList(text.data(), read, error); break;
    case ListKind::Race: result = ReadRacePilotList(text.data(), read, error); break;
  }
  if (result < 0) return -1;
  if (read.empty()) {
    error = "No pilots found";
    return -1;
  }
  entries = std::move(read);
  return 0;
}

int ReadPilotListFile(UserInterface& ui, const std::string& path, PilotList& list) {
  std::string bytes;
  std::string why;
  if (!ReadWholeFile(path, bytes, &why)) {
    ShowError(ui, "Error opening database file: " + why, kReadPilotListCaption);
    return -1;
  }
  if (bytes.empty()) {
    ShowError(ui, "Database file is empty", kReadPilotListCaption);
    return -1;
  }
  std::vector<PilotEntry> entries;
  std::string error;
  if (ParsePilotList(bytes, entries, error) < 0) {
    ShowError(ui, error, kDecodingPilotListCaption);
    return -1;
  }
  list.entries = std::move(entries);
  list.path = path;
  return 0;
}

bool RememberPilotDevice(PilotList& list, std::string_view pilotName, std::string_view identity) {
  if (identity.empty()) return false;
  for (PilotEntry& entry : list.entries) {
    if (entry.name != pilotName) continue;
    for (const std::string& device : entry.devices) {
      if (EqualsIgnoringCase(device, identity)) return false;
    }
    for (std::string& device : entry.devices) {
      if (device.empty()) {
        device = std::string(identity.substr(0, kDeviceLimit));
        return true;
      }
    }
    return false;
  }
  return false;
}

std::string PilotEntryLabel(const PilotEntry& entry) {
  if (entry.compId >= 0 && entry.civlId >= 0) {
    return CFormat("%s (comp. %d, CIVL %d)", entry.name.c_str(), entry.compId, entry.civlId);
  }
  if (entry.compId >= 0) return CFormat("%s (comp. %d)", entry.name.c_str(), entry.compId);
  if (entry.civlId >= 0) return CFormat("%s (CIVL %d)", entry.name.c_str(), entry.civlId);
  return entry.name;
}

}  // namespace trelvik
