#pragma once
// The Flymaster settings dialogs: one line per field of the dialog's
// description, each taking at most its length in characters.
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "instruments/flymaster/settings_input.hpp"

namespace trelvik {

// The fields as typed, in the dialog's order; nothing on Cancel.
std::optional<std::vector<std::string>> AskFlymasterSettings(QWidget* parent, const flymaster::SettingsDialog& dialog);

}  // namespace trelvik
