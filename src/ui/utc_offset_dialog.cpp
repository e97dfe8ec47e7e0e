#include "ui/utc_offset_dialog.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace trelvik {

UtcOffsetDialog::UtcOffsetDialog(int32_t seconds, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kUtcOffsetCaption));
  hours_ = new QComboBox(this);
  for (int hour = kUtcOffsetHourLimit; hour >= -kUtcOffsetHourLimit; --hour) {
    hours_->addItem(QString::number(hour), hour);
  }
  halfHour_ = new QComboBox(this);
  halfHour_->addItem(QStringLiteral("0 min"), false);
  halfHour_->addItem(QStringLiteral("30 min"), true);
  const UtcOffsetChoice shown = UtcOffsetChoiceOf(seconds);
  hours_->setCurrentIndex(hours_->findData(shown.hours));
  halfHour_->setCurrentIndex(shown.halfHour ? 1 : 0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("&Hours"), hours_);
  layout->addRow(QStringLiteral("H&alf hour"), halfHour_);
  layout->addRow(buttons);
}

int32_t UtcOffsetDialog::Seconds() const {
  return UtcOffsetSeconds({hours_->currentData().toInt(), halfHour_->currentData().toBool()});
}

}  // namespace trelvik
