#include "ui/flymaster_settings_dialog.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace trelvik {

std::optional<std::vector<std::string>> AskFlymasterSettings(QWidget* parent, const flymaster::SettingsDialog& dialog) {
  QDialog window(parent);
  window.setWindowTitle(QString::fromUtf8(dialog.title));
  auto* form = new QFormLayout(&window);
  std::vector<QLineEdit*> fields;
  for (const flymaster::SettingsField& field : dialog.fields) {
    auto* edit = new QLineEdit(&window);
    edit->setMaxLength(field.length);
    form->addRow(QString::fromUtf8(field.label), edit);
    fields.push_back(edit);
  }
  if (dialog.note[0] != '\0') form->addRow(new QLabel(QString::fromUtf8(dialog.note), &window));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &window);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
  if (window.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> typed;
  for (const QLineEdit* edit : fields) typed.push_back(edit->text().toStdString());
  return typed;
}

}  // namespace trelvik
