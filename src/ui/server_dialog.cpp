#include "ui/server_dialog.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/message_box.hpp"
#include "instruments/protocol_table.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"

namespace trelvik {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

// The server reports from its loop's thread: the reports travel to the
// dialog's thread as queued calls, and are dropped once the dialog is gone.
class ServerDialog::Observer : public ServerObserver {
 public:
  explicit Observer(ServerDialog& dialog) : dialog_(&dialog) {}
  void ServerStatus(std::string_view text) override {
    QMetaObject::invokeMethod(
        dialog_, [dialog = dialog_, text = Text(text)] { dialog->status_->setText(text); }, Qt::QueuedConnection);
  }
  void SessionChanged(int slot, const SessionRow& row) override {
    QMetaObject::invokeMethod(
        dialog_, [dialog = dialog_, slot, row] { dialog->ShowRow(slot, row); }, Qt::QueuedConnection);
  }

 private:
  ServerDialog* dialog_;
};

ServerDialog::ServerDialog(const JobTable& table, LinkOpener& linkOpener, UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), observer_(std::make_unique<Observer>(*this)) {
  setWindowTitle(QStringLiteral("Server"));
  auto* layout = new QVBoxLayout(this);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(new QLabel(QStringLiteral("Port:"), this));
  port_ = new QLineEdit(QString::number(kDefaultServerPort), this);
  portRow->addWidget(port_);
  portRow->addWidget(new QLabel(QStringLiteral("Use 0 to let Windows choose"), this));
  layout->addLayout(portRow);
  otherComputers_ = new QCheckBox(QStringLiteral("Accept connections from other computers"), this);
  layout->addWidget(otherComputers_);
  auto* buttons = new QHBoxLayout;
  auto* start = new QPushButton(QStringLiteral("Start"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  buttons->addWidget(start);
  buttons->addWidget(close);
  buttons->addStretch();
  layout->addLayout(buttons);
  status_ = new QLabel(this);
  layout->addWidget(status_);
  sessions_ = new QTableWidget(static_cast<int>(rows_.size()), 3, this);
  sessions_->setHorizontalHeaderLabels({QStringLiteral("Address"), QStringLiteral("Port"), QStringLiteral("State")});
  sessions_->horizontalHeader()->setStretchLastSection(true);
  sessions_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(sessions_);
  connect(start, &QPushButton::clicked, this, &ServerDialog::StartServer);
  connect(close, &QPushButton::clicked, this, &ServerDialog::CloseServer);
  server_ = std::make_unique<CommandServer>(table, linkOpener, ProtocolTable(), *observer_);
}

ServerDialog::~ServerDialog() = default;

void ServerDialog::ShowRow(int slot, const SessionRow& row) {
  if (slot < 0 || slot >= static_cast<int>(rows_.size())) return;
  rows_[static_cast<size_t>(slot)] = row;
  sessions_->setItem(slot, 0, new QTableWidgetItem(Text(row.address)));
  sessions_->setItem(slot, 1, new QTableWidgetItem(QString::number(row.port)));
  sessions_->setItem(slot, 2, new QTableWidgetItem(Text(row.state)));
}

void ServerDialog::Open() {
  for (size_t slot = 0; slot < rows_.size(); ++slot) {
    if (!rows_[slot].active) {
      for (int column = 0; column < 3; ++column) sessions_->setItem(static_cast<int>(slot), column, nullptr);
      continue;
    }
    SessionRow shown = rows_[slot];
    shown.state = "Active";
    ShowRow(static_cast<int>(slot), shown);
  }
  if (!server_->Listening()) port_->setText(QString::number(kDefaultServerPort));
  show();
  raise();
}

void ServerDialog::StartServer() {
  if (server_->Listening()) {
    ShowError(ui_, "Server already started", kStartServerCaption);
    return;
  }
  const std::variant<int, std::string> port = ParsePortInput(port_->text().trimmed().toStdString());
  if (const auto* error = std::get_if<std::string>(&port)) {
    ShowError(ui_, *error, kStartServerCaption);
    return;
  }
  ServerEndpoint endpoint;
  endpoint.port = std::get<int>(port);
  // Off by default: a server that other computers reach lets them read any
  // instrument plugged into this one.
  if (otherComputers_->isChecked()) endpoint.address = "0.0.0.0";
  std::string error;
  if (server_->Start(endpoint, error) < 0) ShowError(ui_, error, kStartServerCaption);
}

void ServerDialog::CloseServer() {
  if (ui_.Ask(QuestionKind::OkCancel, "This will close any active connections", kCloseServerCaption) != Answer::Ok) {
    return;
  }
  server_->Close();
  hide();
}

void ServerDialog::closeEvent(QCloseEvent* event) {
  event->ignore();  // CloseServer hides the dialog when the user agrees
  CloseServer();
}

void ServerDialog::reject() { CloseServer(); }

void InstallServerCommand(MainWindow& window, const JobTable& table, LinkOpener& linkOpener, UserInterface& ui) {
  auto* dialog = new ServerDialog(table, linkOpener, ui, &window);
  window.SetHandler(command::kServer, [dialog] { dialog->Open(); });
}

}  // namespace trelvik
