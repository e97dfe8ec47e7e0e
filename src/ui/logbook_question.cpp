#include "ui/logbook_question.hpp"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt_user_interface.hpp"

namespace trelvik {

std::unique_ptr<QMessageBox> BuildLogbookQuestionBox(const std::string& path, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("File already exists"),
                                           QString::fromStdString(path), QMessageBox::NoButton, parent);
  QPushButton* append = box->addButton(QStringLiteral("&Append"), QMessageBox::AcceptRole);
  box->addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
  box->setEscapeButton(box->addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole));
  box->setDefaultButton(append);
  return box;
}

ExistingLogbookAnswer LogbookAnswerOf(const QMessageBox& box) {
  const QAbstractButton* clicked = box.clickedButton();
  const QString text = clicked ? clicked->text() : QString();
  if (text == QLatin1String("&Append")) return ExistingLogbookAnswer::Append;
  if (text == QLatin1String("&Overwrite")) return ExistingLogbookAnswer::Overwrite;
  return ExistingLogbookAnswer::Cancel;
}

ExistingLogbookQuestion QtLogbookQuestion(QtUserInterface& qtUi) {
  return [&qtUi](const std::string& path) {
    ExistingLogbookAnswer answer = ExistingLogbookAnswer::Cancel;
    (void)qtUi.RunOnWindowThread([&] {
      std::unique_ptr<QMessageBox> box = BuildLogbookQuestionBox(path, qtUi.Owner());
      qtUi.PlaceSmallDialog(*box);
      box->exec();
      answer = LogbookAnswerOf(*box);
    });
    return answer;
  };
}

}  // namespace trelvik
