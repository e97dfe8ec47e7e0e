#include "ui/com_port_dialog.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "access/gps_job.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"

namespace trelvik {
namespace {

constexpr int kLastUserPort = 20;

std::string SerialPortNumbered(int number) { return CFormat("/dev/ttyS%d", number - 1); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

std::vector<PortChoice> ListPortChoices(UserInterface& ui, const DeviceRoots& roots) {
  std::vector<SerialPortEntry> ports;
  std::vector<PortChoice> choices;
  if (ListSerialPorts(ports, roots) > 0) {
    for (const SerialPortEntry& port : ports) {
      choices.push_back({port.path, port.tty.empty() ? port.path : port.path + " (" + port.tty + ")"});
    }
    return choices;
  }
  ShowError(ui, "Error reading the registry, only COM1 is possible.", "Select COM port");
  choices.push_back({SerialPortNumbered(1), SerialPortNumbered(1)});
  return choices;
}

std::optional<std::string> ReadUserPort(UserInterface& ui, std::string_view field) {
  size_t first = field.find_first_not_of(' ');
  if (first != std::string_view::npos && field[first] == '/') {
    const size_t last = field.find_last_not_of(' ');
    const std::string_view path = field.substr(first, last - first + 1);
    // A path the port setting cannot hold whole would open another device.
    if (path.size() > kPortNameLimit) {
      ShowError(ui, "User port input error", kSetComPortCaption);
      return std::nullopt;
    }
    return std::string(path);
  }
  int32_t number = 0;
  if (ParseUnsignedInt(field, number) < 0) {
    ShowError(ui, "User port input error", kSetComPortCaption);
    return std::nullopt;
  }
  if (number < 1 || number > kLastUserPort) {
    ShowError(ui, "User port out of range (1-20)", kSetComPortCaption);
    return std::nullopt;
  }
  return SerialPortNumbered(number);
}

ComPortDialog::ComPortDialog(UserInterface& ui, const std::string& currentPort, const DeviceRoots& roots,
                             QWidget* parent)
    : QDialog(parent), ui_(ui), choices_(ListPortChoices(ui, roots)) {
  setWindowTitle(QString::fromLatin1(kSetComPortCaption.data(), static_cast<qsizetype>(kSetComPortCaption.size())));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  ports_ = new QComboBox(this);
  int preselected = 0;
  for (size_t i = 0; i < choices_.size(); ++i) {
    ports_->addItem(FromUtf8(choices_[i].shown));
    if (choices_[i].path == currentPort) preselected = static_cast<int>(i);
  }
  ports_->setCurrentIndex(preselected);
  form->addRow(QStringLiteral("Select from &Registry"), ports_);
  userSelect_ = new QLineEdit(this);
  form->addRow(QStringLiteral("&User select"), userSelect_);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &ComPortDialog::TryAccept);
  QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ComPortDialog::TryAccept() {
  const std::string typed = userSelect_->text().toStdString();
  if (typed.empty()) {
    const int index = ports_->currentIndex();
    if (index < 0 || static_cast<size_t>(index) >= choices_.size()) {
      ShowError(ui_, "Dialog box error", kSetComPortCaption);
      reject();
      return;
    }
    chosen_ = choices_[static_cast<size_t>(index)].path;
    accept();
    return;
  }
  const std::optional<std::string> port = ReadUserPort(ui_, typed);
  if (!port) return;
  chosen_ = *port;
  accept();
}

}  // namespace trelvik
