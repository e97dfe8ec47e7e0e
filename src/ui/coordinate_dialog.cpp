#include "ui/coordinate_dialog.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "geo/position_calculations.hpp"

namespace trelvik {

namespace {

constexpr int kFieldLimit = 80;

std::string FieldText(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

CoordinateDialog::CoordinateDialog(UserInterface& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
  setWindowTitle(QStringLiteral("Coordinate conversion"));
  auto* grid = new QGridLayout(this);
  const std::pair<const char*, QLineEdit**> fields[] = {
      {"&Zone", &zone_},         {"&Easting", &easting_},        {"&Northing", &northing_},
      {"&Latitude (N/S)", &latitude_}, {"Lo&ngitude (E/W)", &longitude_},
  };
  int row = 0;
  for (const auto& [label, field] : fields) {
    *field = new QLineEdit(this);
    (*field)->setMaxLength(kFieldLimit);
    (*field)->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    auto* caption = new QLabel(QString::fromLatin1(label), this);
    caption->setBuddy(*field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(*field, row, 1);
    ++row;
  }
  auto* toDegrees = new QPushButton(QStringLiteral("To &degrees"), this);
  auto* toUtm = new QPushButton(QStringLiteral("To &UTM/UPS"), this);
  grid->addWidget(toDegrees, 0, 2);
  grid->addWidget(toUtm, 3, 2);
  grid->addWidget(new QLabel(QString::fromLatin1(kWgs84Note), this), row, 0, 1, 2);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
  grid->addWidget(buttons, row, 2);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(toDegrees, &QPushButton::clicked, this, &CoordinateDialog::ToDegrees);
  connect(toUtm, &QPushButton::clicked, this, &CoordinateDialog::ToUtm);
}

void CoordinateDialog::ToDegrees() {
  const std::optional<DegreeTexts> degrees =
      ConvertUtmToDegrees(FieldText(zone_), FieldText(easting_), FieldText(northing_), ui_);
  if (!degrees) return;
  latitude_->setText(QString::fromStdString(degrees->latitude));
  longitude_->setText(QString::fromStdString(degrees->longitude));
}

void CoordinateDialog::ToUtm() {
  const std::optional<UtmTextFields> utm =
      ConvertDegreesToUtm(FieldText(latitude_), FieldText(longitude_), FieldText(zone_), ui_);
  if (!utm) return;
  zone_->setText(QString::fromStdString(utm->zone));
  easting_->setText(QString::fromStdString(utm->easting));
  northing_->setText(QString::fromStdString(utm->northing));
}

}  // namespace trelvik
