#include "settings/settings_store.hpp"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/message_box.hpp"
#include "settings/setting_table.hpp"
#include "settings/settings_file.hpp"

namespace trelvik {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

// Applies every readable "Name=value" line in file order, so the last
// readable line of a name counts. `stored`, when given, follows the values read.
void ApplyLines(std::string_view bytes, Settings& values, Settings* stored) {
  const auto& table = SettingTable();
  for (const SettingsFileLine& line : SplitSettingsLines(bytes)) {
    const std::optional<NameAndValue> parts = SplitSettingLine(line.text);
    if (!parts) continue;
    for (const SettingEntry& entry : table) {
      if (entry.name != parts->name) continue;
      if (ReadSettingValue(values, entry, parts->value) && stored != nullptr) {
        CopySettingValue(*stored, values, entry);
      }
      break;
    }
  }
}

}  // namespace

SettingsPaths DefaultSettingsPaths() {
  SettingsPaths paths;
  paths.homeFolder = HomeFolder();
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else if (!paths.homeFolder.empty()) {
    base = paths.homeFolder + "/.config";
  }
  if (!base.empty()) paths.userFile = base + "/trelvik/settings.conf";
  paths.systemFile = kSystemSettingsFile;
  return paths;
}

SettingsStore::SettingsStore(SettingsPaths paths)
    : paths_(std::move(paths)), values_(BuiltInDefaults(paths_.homeFolder)), stored_(values_) {}

int SettingsStore::Load(UserInterface& ui) {
  values_ = BuiltInDefaults(paths_.homeFolder);
  stored_ = values_;
  loaded_ = false;
  writeAll_ = false;
  if (paths_.userFile.empty()) {
    ShowSystemError(ui, kSettingsAccessCaption, ENOENT);
    return -1;
  }
  struct stat info {};
  if (::stat(paths_.userFile.c_str(), &info) != 0 && errno == ENOENT) {
    // A first start: the system-wide file, when there is one, gives the
    // starting values, and the whole table is written at exit.
    std::string bytes;
    if (!paths_.systemFile.empty() && ReadWholeFile(paths_.systemFile, bytes)) ApplyLines(bytes, values_, nullptr);
    loaded_ = true;
    writeAll_ = true;
    return 0;
  }
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(paths_.userFile, bytes, &error)) {
    ShowError(ui, error, kSettingsAccessCaption);
    return -1;
  }
  ApplyLines(bytes, values_, &stored_);
  loaded_ = true;
  return 0;
}

SettingsSaveResult SettingsStore::Save() {
  if (commandLineRun_) return {SettingsSaveOutcome::CommandLineRun, {}};
  if (!loaded_) return {SettingsSaveOutcome::NotLoaded, {}};

  // The file is read again so that lines written by hand (or by another
  // instance) since the start are kept as they are now.
  std::string bytes;
  if (!ReadWholeFile(paths_.userFile, bytes)) bytes.clear();
  std::vector<SettingsFileLine> lines = SplitSettingsLines(bytes);
  bool changed = false;
  for (const SettingEntry& entry : SettingTable()) {
    if (!writeAll_ && SameSettingValue(values_, stored_, entry)) continue;
    PutSettingLine(lines, entry.name, SettingValueText(values_, entry));
    changed = true;
  }
  if (!changed) return {SettingsSaveOutcome::Unchanged, {}};

  std::error_code ignored;
  const std::string folder = FolderOf(paths_.userFile);
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  if (FileWriteError error = WriteFileAtomically(paths_.userFile, JoinSettingsLines(lines))) {
    return {SettingsSaveOutcome::WriteFailed, error};
  }
  stored_ = values_;
  writeAll_ = false;
  return {SettingsSaveOutcome::Written, {}};
}

}  // namespace trelvik
