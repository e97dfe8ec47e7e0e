#include "ui/analysis/rotate_track_dialog.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace trelvik {

namespace {

constexpr int kFieldLimit = 40;

}  // namespace

RotateTrackDialog::RotateTrackDialog(RotateTrackFields& remembered, UserInterface& ui, QWidget* parent)
    : QDialog(parent), remembered_(remembered), ui_(ui) {
  setWindowTitle(QString::fromLatin1(kRotateMenu.data(), static_cast<qsizetype>(kRotateMenu.size())));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Latitude"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Longitude"), this), 0, 2);
  struct Row {
    const char* label;
    const char* accessible;
    QLineEdit** latitude;
    QLineEdit** longitude;
    const std::string* latitudeText;
    const std::string* longitudeText;
  };
  const Row rows[] = {
      {"&Start position", "Start", &startLat_, &startLon_, &remembered.startLatitude, &remembered.startLongitude},
      {"&End position", "End", &endLat_, &endLon_, &remembered.endLatitude, &remembered.endLongitude},
  };
  int rowIndex = 1;
  for (const Row& row : rows) {
    auto* label = new QLabel(QString::fromLatin1(row.label), this);
    *row.latitude = new QLineEdit(QString::fromStdString(*row.latitudeText), this);
    *row.longitude = new QLineEdit(QString::fromStdString(*row.longitudeText), this);
    for (QLineEdit* field : {*row.latitude, *row.longitude}) {
      field->setMaxLength(kFieldLimit);
      field->setMinimumWidth(fontMetrics().averageCharWidth() * 18);
    }
    (*row.latitude)->setAccessibleName(QString::fromLatin1(row.accessible) + QStringLiteral(" latitude"));
    (*row.longitude)->setAccessibleName(QString::fromLatin1(row.accessible) + QStringLiteral(" longitude"));
    label->setBuddy(*row.latitude);
    grid->addWidget(label, rowIndex, 0);
    grid->addWidget(*row.latitude, rowIndex, 1);
    grid->addWidget(*row.longitude, rowIndex, 2);
    ++rowIndex;
  }
  auto* formats =
      new QLabel(QStringLiteral("Formats: DDD.dddddd, DDD MM.mmm or DDD MM SS.ss, with N/S/E/W or +/-"), this);
  formats->setWordWrap(true);
  grid->addWidget(formats, rowIndex++, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &RotateTrackDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, rowIndex, 0, 1, 3);
  setTabOrder(startLat_, startLon_);
  setTabOrder(startLon_, endLat_);
  setTabOrder(endLat_, endLon_);
  startLat_->setFocus();
}

RotateTrackFields RotateTrackDialog::Fields() const {
  return {startLat_->text().toStdString(), startLon_->text().toStdString(), endLat_->text().toStdString(),
          endLon_->text().toStdString()};
}

void RotateTrackDialog::accept() {
  const RotateTrackFields fields = Fields();
  positions_ = ReadRotateFields(ui_, fields);
  if (!positions_) return;
  remembered_ = fields;
  QDialog::accept();
}

}  // namespace trelvik
