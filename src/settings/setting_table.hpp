#pragma once
// The one table of the persistent settings: name, type, value size and built-in
// default of each, in the order they are read and first written. Loading,
// saving and the tests all walk this table, so a setting exists in one place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "settings/settings.hpp"

namespace trelvik {

// The numbers are the classic registry type codes (text, 32-bit word).
enum class SettingType : int32_t { Text = 1, Int = 4 };

using SettingField = std::variant<std::string Settings::*, int32_t Settings::*, TrackTime Settings::*>;

struct SettingEntry {
  std::string_view name;
  SettingField field;
  // Bytes of the value including a text's terminator: a text holds at most
  // size - 1 bytes of UTF-8.
  size_t size;
  std::string_view textDefault;
  int64_t intDefault;
  bool homeFolderDefault;  // folder settings start at the user's home folder

  SettingType Type() const {
    return std::holds_alternative<std::string Settings::*>(field) ? SettingType::Text : SettingType::Int;
  }
};

inline constexpr size_t kSettingCount = 60;

const std::array<SettingEntry, kSettingCount>& SettingTable();

// Every setting at its built-in default; folder settings at `homeFolder`.
Settings BuiltInDefaults(std::string_view homeFolder);

// The value as it stands in the settings file (numbers in plain decimal,
// whatever the locale).
std::string SettingValueText(const Settings& settings, const SettingEntry& entry);

// Takes a value from its file text. False, leaving `settings` alone, when the
// text does not fit the setting: a number out of range or with other
// characters, a text longer than the setting holds, not UTF-8, or with a NUL.
[[nodiscard]] bool ReadSettingValue(Settings& settings, const SettingEntry& entry, std::string_view text);

bool SameSettingValue(const Settings& a, const Settings& b, const SettingEntry& entry);
void CopySettingValue(Settings& to, const Settings& from, const SettingEntry& entry);

}  // namespace trelvik
