#include "ui/waypoints/waypoint_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "waypoints/waypoint_edit.hpp"

namespace trelvik {
namespace {

constexpr int kFieldLimit = 80;

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

WaypointDialog::WaypointDialog(UserInterface& ui, const Waypoint& waypoint, bool& utm, QWidget* parent)
    : QDialog(parent), ui_(ui), utm_(utm) {
  setWindowTitle(QStringLiteral("Edit Waypoint"));
  const WaypointEditFields fields = EditFieldsOf(waypoint);
  auto* grid = new QGridLayout(this);
  int row = 0;
  const auto addField = [&](const char* label, QLineEdit*& field, const std::string& text, int limit) {
    field = new QLineEdit(Utf8(text), this);
    field->setMaxLength(limit);
    field->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    auto* caption = new QLabel(QString::fromLatin1(label), this);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    ++row;
  };
  addField("&ID", id_, fields.id, kFieldLimit);
  addField("&Comment", comment_, fields.comment, kFieldLimit);
  addField("&Height (m)", height_, fields.height, kFieldLimit);
  type_ = new QComboBox(this);
  type_->addItems({QString::fromLatin1(kPointType), QString::fromLatin1(kAirfieldType)});
  type_->setCurrentIndex(fields.airfield ? 1 : 0);
  grid->addWidget(new QLabel(QStringLiteral("&Type"), this), row, 0);
  grid->addWidget(type_, row++, 1);
  addField("Time&stamp (UTC)", timestamp_, fields.timestamp, kFieldLimit);
  utmBox_ = new QCheckBox(QStringLiteral("&UTM"), this);
  utmBox_->setChecked(utm_);
  grid->addWidget(utmBox_, row++, 1);
  addField("&Zone", zone_, fields.zone, kFieldLimit);
  addField("&Easting", easting_, fields.easting, kFieldLimit);
  addField("&Northing", northing_, fields.northing, kFieldLimit);
  addField("&Latitude (N/S)", latitude_, fields.latitude, kFieldLimit);
  addField("Lo&ngitude (E/W)", longitude_, fields.longitude, kFieldLimit);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  grid->addWidget(buttons, row, 0, 1, 2);
  connect(buttons, &QDialogButtonBox::accepted, this, &WaypointDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(utmBox_, &QCheckBox::toggled, this, [this](bool on) {
    utm_ = on;
    ShowPositionFields();
  });
  ShowPositionFields();
}

void WaypointDialog::ShowPositionFields() {
  for (QLineEdit* field : {zone_, easting_, northing_}) field->setEnabled(utm_);
  for (QLineEdit* field : {latitude_, longitude_}) field->setEnabled(!utm_);
}

void WaypointDialog::accept() {
  WaypointEditFields fields;
  fields.id = Text(id_);
  fields.comment = Text(comment_);
  fields.height = Text(height_);
  fields.airfield = type_->currentIndex() == 1;
  fields.timestamp = Text(timestamp_);
  fields.zone = Text(zone_);
  fields.easting = Text(easting_);
  fields.northing = Text(northing_);
  fields.latitude = Text(latitude_);
  fields.longitude = Text(longitude_);
  result_ = CheckWaypointEdit(ui_, fields, utm_);
  if (result_) QDialog::accept();
}

}  // namespace trelvik
