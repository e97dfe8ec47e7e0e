#pragma once
// The window's three Flymaster settings dialogs as data: their fields, and
// the checks of what the user typed before the settings job starts.
#include <span>
#include <string>
#include <vector>

#include "instruments/flymaster/codec.hpp"

namespace trelvik::flymaster {

struct SettingsField {
  const char* label;
  int length;               // characters the field takes
  const char* starRefusal;  // the refusal of a "*" in it; null when not checked
};

struct SettingsDialog {
  const char* title;
  const char* caption;  // of its refusals
  const char* note;     // shown under the fields; may be empty
  std::span<const SettingsField> fields;
};

const SettingsDialog& SettingsDialogOf(SettingsCommand command);

enum class InputVerdict { Send, Refused, Cancelled };
struct InputCheck {
  InputVerdict verdict = InputVerdict::Send;
  std::string refusal;             // Refused: the text, under the dialog's caption
  std::vector<std::string> texts;  // Send: the command's texts in its sentence's order
};
// The fields in the dialog's order, as typed.
InputCheck CheckSettingsInput(SettingsCommand command, const std::vector<std::string>& typed);

}  // namespace trelvik::flymaster
