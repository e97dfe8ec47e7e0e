#include "ui/distance_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>

namespace trelvik {

namespace {

QString Text(const char* chars, size_t limit) { return QString::fromUtf8(chars, static_cast<qsizetype>(strnlen(chars, limit))); }

std::string FieldText(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

DistanceDialog::DistanceDialog(const WaypointList& waypoints, PositionDialogsState& state, UserInterface& ui,
                               QWidget* parent)
    : QDialog(parent), waypoints_(waypoints), state_(state), ui_(ui) {
  setWindowTitle(QStringLiteral("Calculate distance"));
  auto* grid = new QGridLayout(this);
  zoneLabel_ = new QLabel(QStringLiteral("&Zone"), this);
  firstLabel_ = new QLabel(this);
  secondLabel_ = new QLabel(this);
  grid->addWidget(zoneLabel_, 0, 1);
  grid->addWidget(firstLabel_, 0, 2);
  grid->addWidget(secondLabel_, 0, 3);
  from_ = BuildSide(QStringLiteral("From"), 1, *grid);
  to_ = BuildSide(QStringLiteral("To"), 3, *grid);
  zoneLabel_->setBuddy(from_.zone);
  firstLabel_->setBuddy(from_.first);
  secondLabel_->setBuddy(from_.second);

  utmBox_ = new QCheckBox(QStringLiteral("&UTM"), this);
  grid->addWidget(utmBox_, 5, 0);
  auto* calculate = new QPushButton(QStringLiteral("&Calculate"), this);
  grid->addWidget(calculate, 5, 1);
  grid->addWidget(new QLabel(QStringLiteral("Distance (m):"), this), 5, 2, Qt::AlignRight);
  result_ = new QLabel(this);
  result_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(result_, 5, 3);
  grid->addWidget(new QLabel(QString::fromLatin1(kWgs84Note), this), 6, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
  grid->addWidget(buttons, 6, 3);
  grid->setColumnMinimumWidth(2, fontMetrics().averageCharWidth() * 20);
  grid->setColumnMinimumWidth(3, fontMetrics().averageCharWidth() * 20);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(calculate, &QPushButton::clicked, this, &DistanceDialog::Calculate);
  connect(utmBox_, &QCheckBox::toggled, this, &DistanceDialog::SetUtm);

  // Both lists start at the first waypoint.
  for (const Waypoint& waypoint : waypoints_.waypoints) {
    const QString name = Text(waypoint.name, sizeof waypoint.name);
    from_.waypoint->addItem(name);
    to_.waypoint->addItem(name);
  }
  if (!waypoints_.waypoints.empty()) {
    const Waypoint& first = waypoints_.waypoints.front();
    state_.distanceFrom = state_.distanceTo = SemicircleToRadians(first.lat, first.lon);
    from_.comment->setText(Text(first.description, sizeof first.description));
    to_.comment->setText(from_.comment->text());
  }
  connect(from_.waypoint, &QComboBox::activated, this, [this](int index) { ChooseWaypoint(from_, state_.distanceFrom, index); });
  connect(to_.waypoint, &QComboBox::activated, this, [this](int index) { ChooseWaypoint(to_, state_.distanceTo, index); });

  utmBox_->blockSignals(true);
  utmBox_->setChecked(state_.distanceUtm);
  utmBox_->blockSignals(false);
  SetUtm(state_.distanceUtm);
  calculate->setDefault(true);
}

DistanceDialog::Side DistanceDialog::BuildSide(const QString& title, int row, QGridLayout& grid) {
  Side side;
  side.waypoint = new QComboBox(this);
  side.comment = new QLabel(this);
  side.zone = new QLineEdit(this);
  side.first = new QLineEdit(this);
  side.second = new QLineEdit(this);
  side.zone->setMaxLength(80);
  side.first->setMaxLength(80);
  side.second->setMaxLength(80);
  side.zone->setMaximumWidth(fontMetrics().averageCharWidth() * 6);
  grid.addWidget(new QLabel(title, this), row, 0);
  grid.addWidget(side.waypoint, row, 1);
  grid.addWidget(side.comment, row, 2, 1, 2);
  grid.addWidget(side.zone, row + 1, 1);
  grid.addWidget(side.first, row + 1, 2);
  grid.addWidget(side.second, row + 1, 3);
  return side;
}

void DistanceDialog::SetUtm(bool utm) {
  state_.distanceUtm = utm;
  firstLabel_->setText(utm ? QStringLiteral("&Easting") : QStringLiteral("&Latitude"));
  secondLabel_->setText(utm ? QStringLiteral("&Northing") : QStringLiteral("Lo&ngitude"));
  zoneLabel_->setEnabled(utm);
  for (Side* side : {&from_, &to_}) {
    side->first->clear();
    side->second->clear();
    side->zone->setText(utm ? QStringLiteral("32V") : QString());
    side->zone->setEnabled(utm);
  }
  FillSide(from_, state_.distanceFrom);
  FillSide(to_, state_.distanceTo);
  Calculate();
}

void DistanceDialog::FillSide(Side& side, const GeoPosition& position) {
  const PositionFields fields = FieldsForPosition(position, state_.distanceUtm);
  if (state_.distanceUtm) side.zone->setText(QString::fromStdString(fields.zone));
  side.first->setText(QString::fromStdString(fields.first));
  side.second->setText(QString::fromStdString(fields.second));
}

void DistanceDialog::ChooseWaypoint(Side& side, GeoPosition& position, int index) {
  if (index < 0 || index >= waypoints_.Count()) return;
  const Waypoint& waypoint = waypoints_.waypoints[static_cast<size_t>(index)];
  position = SemicircleToRadians(waypoint.lat, waypoint.lon);
  side.comment->setText(Text(waypoint.description, sizeof waypoint.description));
  FillSide(side, position);
  Calculate();
}

PositionFields DistanceDialog::FieldsOf(const Side& side) {
  return {FieldText(side.zone), FieldText(side.first), FieldText(side.second)};
}

void DistanceDialog::Calculate() {
  const std::optional<std::string> distance =
      CalculateDistanceText(FieldsOf(from_), FieldsOf(to_), state_.distanceUtm, ui_);
  if (distance) result_->setText(QString::fromStdString(*distance));
}

}  // namespace trelvik
