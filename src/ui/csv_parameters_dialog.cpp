#include "ui/csv_parameters_dialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/message_box.hpp"
#include "trackfiles/csv_track.hpp"

namespace trelvik {
namespace {

QString Seconds(int32_t value) { return value > 0 ? QString::number(value) : QString(); }

}  // namespace

CsvParametersDialog::CsvParametersDialog(UserInterface& ui, Settings& settings, QWidget* parent)
    : QDialog(parent), ui_(ui), settings_(settings) {
  setWindowTitle("Set additional csv parameters");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Select parameter(s)."));
  layout->addWidget(new QLabel("To omit use blank or 0."));
  const auto box = [&](const char* text, int32_t on) {
    auto* check = new QCheckBox(text, this);
    check->setChecked(on != 0);
    layout->addWidget(check);
    return check;
  };
  absTime = box("Time (dd/mm/yyyy hh:mm:ss)", settings.csvAbsTime);
  relTime = box("Elapsed time", settings.csvRelTime);
  relDist = box("Distance from start", settings.csvRelDist);
  accDist = box("Accumulated distance (km)", settings.csvAccDist);
  auto* form = new QFormLayout;
  bearing = new QLineEdit(Seconds(settings.csvBearing), this);
  speed = new QLineEdit(Seconds(settings.csvSpeed), this);
  vario = new QLineEdit(Seconds(settings.csvVario), this);
  form->addRow("Bearing last N seconds", bearing);
  layout->addLayout(form);
  deg400 = box("400 degrees", settings.csv400deg);
  auto* rest = new QFormLayout;
  rest->addRow("Speed last N seconds (km/h)", speed);
  rest->addRow("Climb last N seconds (m/s)", vario);
  layout->addLayout(rest);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CsvParametersDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CsvParametersDialog::accept() {
  CsvColumns columns;
  const CsvParameterTexts texts{bearing->text().toStdString(), speed->text().toStdString(),
                                vario->text().toStdString()};
  if (const std::optional<FileMessage> refusal = ApplyCsvParameterTexts(texts, columns)) {
    ShowError(ui_, refusal->text, refusal->caption);
    return;
  }
  settings_.csvAbsTime = absTime->isChecked() ? 1 : 0;
  settings_.csvRelTime = relTime->isChecked() ? 1 : 0;
  settings_.csvRelDist = relDist->isChecked() ? 1 : 0;
  settings_.csvAccDist = accDist->isChecked() ? 1 : 0;
  settings_.csv400deg = deg400->isChecked() ? 1 : 0;
  settings_.csvBearing = columns.bearingSeconds;
  settings_.csvSpeed = columns.speedSeconds;
  settings_.csvVario = columns.varioSeconds;
  QDialog::accept();
}

}  // namespace trelvik
