#include "ui/field_form_dialog.hpp"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FieldFormDialog::FieldFormDialog(const FieldFormQuestion& question, QWidget* parent)
    : QDialog(parent), question_(question) {
  setWindowTitle(FromUtf8(question.title));
  auto* layout = new QVBoxLayout(this);
  if (question.modeNames.size() > 1) {
    auto* modes = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (size_t i = 0; i < question.modeNames.size(); ++i) {
      auto* button = new QRadioButton(FromUtf8(question.modeNames[i]), this);
      button->setChecked(static_cast<int>(i) == question.mode);
      group->addButton(button, static_cast<int>(i));
      modes->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { Relabel(id); });
    layout->addLayout(modes);
  }
  auto* form = new QFormLayout;
  for (size_t i = 0; i < question.values.size(); ++i) {
    auto* label = new QLabel(this);
    auto* field = new QLineEdit(FromUtf8(question.values[i]), this);
    if (i < question.limits.size()) field->setMaxLength(static_cast<int>(question.limits[i]));
    form->addRow(label, field);
    labels_.push_back(label);
    fields_.push_back(field);
  }
  layout->addLayout(form);
  if (!question.note.empty()) layout->addWidget(new QLabel(FromUtf8(question.note), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  Relabel(question.mode);
}

void FieldFormDialog::Relabel(int mode) {
  if (mode < 0 || static_cast<size_t>(mode) >= question_.labels.size()) mode = 0;
  mode_ = mode;
  if (question_.labels.empty()) return;
  const std::vector<std::string>& names = question_.labels[static_cast<size_t>(mode)];
  for (size_t i = 0; i < labels_.size() && i < names.size(); ++i) labels_[i]->setText(FromUtf8(names[i]));
}

FieldFormAnswer FieldFormDialog::Answer() const {
  FieldFormAnswer answer;
  answer.mode = mode_;
  for (const QLineEdit* field : fields_) answer.values.push_back(field->text().toUtf8().toStdString());
  return answer;
}

std::optional<FieldFormAnswer> QtFieldFormAsker::AskFields(const FieldFormQuestion& question) {
  std::optional<FieldFormAnswer> answer;
  (void)qtUi_.RunOnWindowThread([&] {
    FieldFormDialog dialog(question, qtUi_.Owner());
    qtUi_.PlaceSmallDialog(dialog);
    if (dialog.exec() == QDialog::Accepted) answer = dialog.Answer();
  });
  return answer;
}

}  // namespace trelvik
