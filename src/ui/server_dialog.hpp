#pragma once
// The "Server" dialog: the TCP command server's port, whether other computers
// may connect, Start and Close, the server's status line and its ten session
// rows (address, port, state). The dialog owns the server and outlives its
// closing: sessions whose jobs still run end with their jobs, and opening it
// again shows them.
#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "access/job_table.hpp"
#include "access/link.hpp"
#include "base/user_interface.hpp"
#include "server/command_server.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace trelvik {

class MainWindow;

inline constexpr const char* kCloseServerCaption = "Close server";

class ServerDialog : public QDialog {
  Q_OBJECT

 public:
  // `table`, `linkOpener` and `ui` outlive the dialog.
  ServerDialog(const JobTable& table, LinkOpener& linkOpener, UserInterface& ui, QWidget* parent);
  ~ServerDialog() override;

  // Shows the dialog with the sessions that still exist marked "Active".
  void Open();
  // "Start": the port field's value, then the server ("Start server" box on error).
  void StartServer();
  // "Close" or closing the dialog: after OK to "This will close any active
  // connections", the server stops listening and ends its sessions.
  void CloseServer();

  CommandServer& Server() { return *server_; }
  QLineEdit& PortField() const { return *port_; }
  QCheckBox& OtherComputers() const { return *otherComputers_; }
  QLabel& StatusLine() const { return *status_; }
  QTableWidget& Sessions() const { return *sessions_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape closes as Close does

 private:
  class Observer;
  void ShowRow(int slot, const SessionRow& row);

  UserInterface& ui_;
  QLineEdit* port_ = nullptr;
  QCheckBox* otherComputers_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* sessions_ = nullptr;
  std::array<SessionRow, 10> rows_{};
  std::unique_ptr<Observer> observer_;
  std::unique_ptr<CommandServer> server_;  // last: goes first, while the rows still exist
};

// Registers "&Server" with the window; the dialog is the window's child.
void InstallServerCommand(MainWindow& window, const JobTable& table, LinkOpener& linkOpener, UserInterface& ui);

}  // namespace trelvik
