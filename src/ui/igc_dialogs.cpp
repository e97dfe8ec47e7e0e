#include "ui/igc_dialogs.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvik {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLineEdit* Field(QFormLayout& form, const char* label, const std::string& text, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(FromUtf8(text), parent);
  edit->setMaxLength(maxLength);
  form.addRow(QString::fromUtf8(label), edit);
  return edit;
}

QCheckBox* Box(QVBoxLayout& layout, const char* label, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromUtf8(label), parent);
  box->setChecked(checked);
  layout.addWidget(box);
  return box;
}

// The two name boxes act as a pair: ticking one clears the other; both may be clear.
void PairNameBoxes(QCheckBox* a, QCheckBox* b) {
  QObject::connect(a, &QCheckBox::toggled, b, [b](bool on) {
    if (on) b->setChecked(false);
  });
  QObject::connect(b, &QCheckBox::toggled, a, [a](bool on) {
    if (on) a->setChecked(false);
  });
}

template <typename Dialog>
void AddSaveCancel(QVBoxLayout& layout, Dialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* save = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
  save->setDefault(true);
  QObject::connect(save, &QPushButton::clicked, dialog, &Dialog::SaveClicked);
  QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  layout.addWidget(buttons);
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

IgcFormatDialog::IgcFormatDialog(const IgcDialogFields& fields, Save save, QWidget* parent)
    : QDialog(parent), save_(std::move(save)) {
  setWindowTitle(QStringLiteral("IGC File Format"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  pilot = Field(*form, "&Pilot", fields.pilot, 80, this);
  flightNumber = Field(*form, "&Flight # (1-35)", fields.flightNumber, 10, this);
  serial = Field(*form, "FR serial no.", fields.serial, 3, this);
  gliderType = Field(*form, "&Glider Type", fields.gliderType, 80, this);
  gliderId = Field(*form, "Glider &ID", fields.gliderId, 80, this);
  site = Field(*form, "&Site", fields.site, 80, this);
  competitionClass = Field(*form, "&Class", fields.competitionClass, 80, this);
  layout->addLayout(form);
  longName = Box(*layout, "Save with IGC long file name", fields.longName, this);
  shortName = Box(*layout, "Save with IGC short file name", fields.shortName, this);
  PairNameBoxes(longName, shortName);
  addEnl = Box(*layout, "Add ENL from trk depth", fields.addEnl, this);
  AddSaveCancel(*layout, this);
}

IgcDialogFields IgcFormatDialog::Fields() const {
  IgcDialogFields fields;
  fields.pilot = Text(pilot);
  fields.flightNumber = Text(flightNumber);
  fields.serial = Text(serial);
  fields.gliderType = Text(gliderType);
  fields.gliderId = Text(gliderId);
  fields.site = Text(site);
  fields.competitionClass = Text(competitionClass);
  fields.longName = longName->isChecked();
  fields.shortName = shortName->isChecked();
  fields.addEnl = addEnl->isChecked();
  return fields;
}

void IgcFormatDialog::SaveClicked() {
  if (save_(Fields()).outcome == IgcDialogOutcome::Close) accept();
}

RawIgcDialog::RawIgcDialog(const RawIgcDialogFields& fields, Save save, QWidget* parent)
    : QDialog(parent), save_(std::move(save)) {
  setWindowTitle(QStringLiteral("Save IGC track log from GPS"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  flightNumber = Field(*form, "&Flight # (1-35)", fields.flightNumber, 7, this);
  layout->addLayout(form);
  longName = Box(*layout, "Save with IGC &long file name", fields.longName, this);
  shortName = Box(*layout, "Save with IGC &short file name", fields.shortName, this);
  PairNameBoxes(longName, shortName);
  AddSaveCancel(*layout, this);
}

RawIgcDialogFields RawIgcDialog::Fields() const {
  return {Text(flightNumber), longName->isChecked(), shortName->isChecked()};
}

void RawIgcDialog::SaveClicked() {
  if (save_(Fields()).outcome == IgcDialogOutcome::Close) accept();
}

}  // namespace trelvik
