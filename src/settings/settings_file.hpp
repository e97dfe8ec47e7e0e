#pragma once
// The settings file as lines of text: "Name=value" lines for settings, and
// whatever else a user wrote there (comments, blank lines, names this version
// does not know), which must survive a rewrite unchanged.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

struct SettingsFileLine {
  std::string text;    // without its line end
  std::string ending;  // "\n", "\r\n", or empty for a last line without one
};

std::vector<SettingsFileLine> SplitSettingsLines(std::string_view bytes);
std::string JoinSettingsLines(const std::vector<SettingsFileLine>& lines);

struct NameAndValue {
  std::string_view name;
  std::string_view value;
};

// The parts of a "Name=value" line; nothing for a line without "=".
std::optional<NameAndValue> SplitSettingLine(std::string_view line);

// Sets the last line of that name to "Name=value", or appends one at the end.
// A value that would break the line (line feed, carriage return) has those
// characters written as blanks.
void PutSettingLine(std::vector<SettingsFileLine>& lines, std::string_view name, std::string_view value);

}  // namespace trelvik
