#pragma once
// The owner of the process-wide settings: loads them once while the main
// window initialises and writes back, at a normal exit, only what changed.
// The user-interface thread owns the store; other threads get copies.
#include <string>

#include "base/atomic_file.hpp"
#include "base/user_interface.hpp"
#include "settings/settings.hpp"

namespace trelvik {

inline constexpr const char* kSettingsAccessCaption = "Registry access error";
inline constexpr const char* kSystemSettingsFile = "/etc/xdg/trelvik/settings.conf";

struct SettingsPaths {
  std::string userFile;    // read at start, written at exit
  std::string systemFile;  // starting values while the user has no file
  std::string homeFolder;  // default of the folder settings
};

// $XDG_CONFIG_HOME/trelvik/settings.conf (~/.config when unset or not an
// absolute path), kSystemSettingsFile, and $HOME (or the password entry).
SettingsPaths DefaultSettingsPaths();

enum class SettingsSaveOutcome {
  Written,         // the changed lines (or all, on a first start) were written
  Unchanged,       // nothing differed from the file; it was left untouched
  CommandLineRun,  // a command-line job ran: the settings are never written then
  NotLoaded,       // loading failed or never happened; the file is left alone
  WriteFailed,     // see `error`; the old file is intact
};

struct SettingsSaveResult {
  SettingsSaveOutcome outcome = SettingsSaveOutcome::Unchanged;
  FileWriteError error;
};

class SettingsStore {
 public:
  explicit SettingsStore(SettingsPaths paths);

  // Reads the user's file; while there is none, the system file's values (or
  // the built-in defaults) are the starting values and every setting is
  // written at the next save. A line that cannot be read keeps its default.
  // A user file that exists but cannot be read shows the system's text under
  // "Registry access error": the built-in defaults are then used and nothing
  // is saved. 0 or -1.
  [[nodiscard]] int Load(UserInterface& ui);

  // Once set, Save never writes: a run driven by a command-line job reads the
  // settings but must leave the user's choices as they were.
  void SetCommandLineRun(bool commandLineRun) { commandLineRun_ = commandLineRun; }
  bool CommandLineRun() const { return commandLineRun_; }

  // Writes every value that differs from what was last read or written (all
  // of them when the user had no file at load), keeping every other line of
  // the file as it is. Failures are not shown; the caller may log them.
  [[nodiscard]] SettingsSaveResult Save();

  Settings& Values() { return values_; }
  const Settings& Values() const { return values_; }
  const SettingsPaths& Paths() const { return paths_; }

 private:
  SettingsPaths paths_;
  Settings values_;
  Settings stored_;  // last value read from or written to the file, per setting
  bool loaded_ = false;
  bool writeAll_ = false;
  bool commandLineRun_ = false;
};

}  // namespace trelvik
