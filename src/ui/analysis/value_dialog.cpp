#include "ui/analysis/value_dialog.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvik {

namespace {

constexpr int kFieldLimit = 20;      // characters: every value here is a small number
constexpr int kNoteWidthChars = 60;  // notes wrap at about this many average characters

}  // namespace

ValueDialog::ValueDialog(const ValueDialogContent& content, std::function<bool(const std::string&)> accept,
                         QWidget* parent)
    : QDialog(parent), accept_(std::move(accept)) {
  setWindowTitle(content.title);
  auto* layout = new QVBoxLayout(this);
  for (const QString& note : content.notes) {
    auto* text = new QLabel(note, this);
    text->setWordWrap(true);
    text->setMinimumWidth(fontMetrics().averageCharWidth() * kNoteWidthChars);
    layout->addWidget(text);
  }
  auto* form = new QFormLayout;
  field_ = new QLineEdit(content.value, this);
  field_->setMaxLength(kFieldLimit);
  field_->setMinimumWidth(fontMetrics().averageCharWidth() * 12);
  field_->selectAll();
  auto* label = new QLabel(content.label, this);
  label->setBuddy(field_);
  // The accessible name follows the label without its mnemonic marker.
  field_->setAccessibleName(QString(content.label).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
  form->addRow(label, field_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &ValueDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  field_->setFocus();
}

void ValueDialog::accept() {
  if (accept_ && !accept_(field_->text().toStdString())) return;
  QDialog::accept();
}

}  // namespace trelvik
