// The CSV pilot list: name, CompId, CivlId and up to four instruments per
// line. A field in double quotes may hold commas ("" stands for one quote),
// so that names such as "Smith, John" survive a save and a read.
#include <cctype>

#include "base/c_format.hpp"
#include "competition/pilot_list_readers.hpp"
#include "records/number_parsers.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

constexpr size_t kFieldsPerLine = 7;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The fields of one line, each trimmed; at most kFieldsPerLine (the rest of
// the line is ignored).
std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields;
  size_t i = 0;
  while (fields.size() < kFieldsPerLine) {
    std::string field;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      const size_t comma = line.find(',', i);
      i = comma == std::string_view::npos ? line.size() : comma;
    } else {
      const size_t comma = line.find(',', i);
      const size_t end = comma == std::string_view::npos ? line.size() : comma;
      field = std::string(Trim(line.substr(i, end - i)));
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) break;
    ++i;  // the comma
  }
  return fields;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Empty (or "None") is no number; a negative number is none either.
bool ReadCsvId(std::string_view field, int32_t& id) {
  id = -1;
  if (field.empty() || field == "None") return true;
  int32_t value = 0;
  if (ParseSignedInt(field, value) < 0) return false;
  id = value < 0 ? -1 : value;
  return true;
}

// A field as the list writes it: quoted when it holds a comma or a quote, or
// begins or ends with a blank that the reader would trim.
std::string CsvField(std::string_view text) {
  const bool plain = text.find_first_of(",\"") == std::string_view::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

int ReadCsvPilotList(std::string_view text, std::vector<PilotEntry>& entries, std::string& error) {
  bool firstLine = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    if (Trim(line).empty()) continue;
    const std::vector<std::string> fields = SplitCsvLine(line);
    const bool header = firstLine && EqualsIgnoringCase(fields[0], "Name");
    firstLine = false;
    if (header || fields[0].empty()) continue;
    PilotEntry entry;
    entry.name = CutToCharacters(fields[0], kPilotNameLimit);
    if (fields.size() > 1 && !ReadCsvId(fields[1], entry.compId)) {
      error = "Bad CompId number";
      return -1;
    }
    if (fields.size() > 2 && !ReadCsvId(fields[2], entry.civlId)) {
      error = "Bad CivlId number";
      return -1;
    }
    for (size_t k = 3; k < fields.size(); ++k) entry.devices[k - 3] = CutToCharacters(fields[k], kDeviceLimit);
    entries.push_back(std::move(entry));
  }
  return 0;
}

std::string PilotListCsvText(const std::vector<PilotEntry>& entries) {
  std::string text = "Name,CompId,CivlId";
  for (size_t k = 1; k <= kDeviceSlots; ++k) text += CFormat(",Device%d", static_cast<int>(k));
  text += "\r\n";
  for (const PilotEntry& entry : entries) {
    text += CsvField(entry.name);
    text += entry.compId < 0 ? std::string(",") : CFormat(",%d", entry.compId);
    text += entry.civlId < 0 ? std::string(",") : CFormat(",%d", entry.civlId);
    for (const std::string& device : entry.devices) text += "," + CsvField(device);
    text += "\r\n";
  }
  return text;
}

}  // namespace trelvik
