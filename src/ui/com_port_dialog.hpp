#pragma once
// "Set COM port": the serial ports the system has, or one typed in "&User
// select" as a number 1..20 (the n-th serial port, /dev/ttyS<n-1>) or as a
// device path such as a pseudo-terminal.
#include <QDialog>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "access/serial_port_list.hpp"
#include "base/user_interface.hpp"

class QComboBox;
class QLineEdit;

namespace trelvik {

inline constexpr std::string_view kSetComPortCaption = "Set COM port";

struct PortChoice {
  std::string path;  // what the port setting stores
  std::string shown;
};

// The listed ports; without any (or when the lists cannot be read) the error
// "Error reading the registry, only COM1 is possible." and the first serial
// port only.
std::vector<PortChoice> ListPortChoices(UserInterface& ui, const DeviceRoots& roots);

// The "&User select" field: a device path as typed, or 1..20 as /dev/ttyS<n-1>.
// Nothing after "User port input error" or "User port out of range (1-20)".
[[nodiscard]] std::optional<std::string> ReadUserPort(UserInterface& ui, std::string_view field);

class ComPortDialog : public QDialog {
  Q_OBJECT

 public:
  ComPortDialog(UserInterface& ui, const std::string& currentPort, const DeviceRoots& roots, QWidget* parent);

  // After an accepted exec(): the new port setting.
  const std::string& Chosen() const { return chosen_; }
  QComboBox& Ports() const { return *ports_; }
  QLineEdit& UserSelect() const { return *userSelect_; }
  // "OK": takes the typed port, else the selected entry; stays open on a bad entry.
  void TryAccept();

 private:
  UserInterface& ui_;
  std::vector<PortChoice> choices_;
  QComboBox* ports_ = nullptr;
  QLineEdit* userSelect_ = nullptr;
  std::string chosen_;
};

}  // namespace trelvik
