#include "ui/analysis/logbook_question.hpp"

#include <QMessageBox>
#include <QPushButton>

namespace trelvik {

ExistingLogbookQuestion WindowLogbookQuestion(QWidget* parent) {
  return [parent](const std::string& path) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("File already exists"), QString::fromStdString(path),
                    QMessageBox::NoButton, parent);
    QPushButton* append = box.addButton(QStringLiteral("&Append"), QMessageBox::AcceptRole);
    QPushButton* overwrite = box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    box.setEscapeButton(box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole));
    // Appending loses nothing, so it is what Enter does.
    box.setDefaultButton(append);
    box.exec();
    if (box.clickedButton() == append) return ExistingLogbookAnswer::Append;
    if (box.clickedButton() == overwrite) return ExistingLogbookAnswer::Overwrite;
    return ExistingLogbookAnswer::Cancel;
  };
}

}  // namespace trelvik
