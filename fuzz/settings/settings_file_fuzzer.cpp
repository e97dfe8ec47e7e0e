// Arbitrary bytes as the settings file. Split into lines and joined again it
// must come back byte for byte; every value it sets must survive being written
// back into the file and read again (line breaks in a value become blanks).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setting_table.hpp"
#include "settings/settings_file.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) std::abort();
}

const SettingEntry* FindSetting(std::string_view name) {
  for (const SettingEntry& entry : SettingTable()) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

// Every readable "Name=value" line in file order, as the store loads them.
Settings Apply(const std::vector<SettingsFileLine>& lines) {
  Settings values = BuiltInDefaults("/home/pilot");
  for (const SettingsFileLine& line : lines) {
    const std::optional<NameAndValue> parts = SplitSettingLine(line.text);
    if (!parts) continue;
    Check(parts->name.size() + 1 + parts->value.size() == line.text.size());
    if (const SettingEntry* entry = FindSetting(parts->name)) (void)ReadSettingValue(values, *entry, parts->value);
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<SettingsFileLine> lines = SplitSettingsLines(bytes);
  Check(JoinSettingsLines(lines) == bytes);
  for (const SettingsFileLine& line : lines) {
    Check(line.text.find('\n') == std::string::npos);
    Check(line.ending.empty() || line.ending == "\n" || line.ending == "\r\n" || line.ending == "\r");
  }

  const Settings values = Apply(lines);
  Settings expected = values;
  for (const SettingEntry& entry : SettingTable()) {
    std::string text = SettingValueText(values, entry);
    PutSettingLine(lines, entry.name, text);
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    Check(ReadSettingValue(expected, entry, text));
  }
  const Settings reread = Apply(SplitSettingsLines(JoinSettingsLines(lines)));
  for (const SettingEntry& entry : SettingTable()) Check(SameSettingValue(reread, expected, entry));
  return 0;
}
