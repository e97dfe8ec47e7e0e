#include "ui/qt_user_interface.hpp"

#include <QAbstractButton>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "base/message_box.hpp"
#include "ui/dialog_placement.hpp"

namespace trelvik {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString BoxText(std::string_view text) { return FromUtf8(CutMessageText(text)); }

// Moves its dialog to the command-line position whenever the dialog opens.
class PlacementFilter : public QObject {
 public:
  PlacementFilter(QObject* parent, const std::atomic<int>& posX, const std::atomic<int>& posY)
      : QObject(parent), posX_(posX), posY_(posY) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) Place(*static_cast<QWidget*>(watched));
    return false;
  }

 private:
  void Place(QWidget& dialog) const {
    const int x = posX_;
    const int y = posY_;
    if (x == 0 || y == 0) return;
    const QScreen* screen = dialog.screen();
    if (!screen) return;
    DialogPlacementInput input;
    input.x = x;
    input.y = y;
    input.windowWidth = std::max(dialog.frameGeometry().width(), dialog.sizeHint().width());
    input.captionHeight = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog);
    input.screenWidth = screen->geometry().width();
    input.screenHeight = screen->geometry().height();
    const DialogPoint point = PlaceDialog(input);
    dialog.move(point.x, point.y);
  }

  const std::atomic<int>& posX_;
  const std::atomic<int>& posY_;
};

QMessageBox::Icon IconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QStringList FileDialogFilters(std::string_view typeName, std::string_view extension) {
  return {FromUtf8(typeName) + " (*" + FromUtf8(extension) + ")", QStringLiteral("All Files (*)")};
}

QtUserInterface::QtUserInterface(QObject* parent) : QObject(parent) {}

void QtUserInterface::SetLines(QLabel* product, QLabel* status) {
  product_ = product;
  status_ = status;
}

void QtUserInterface::SetDialogPosition(int posX, int posY) {
  posX_ = posX;
  posY_ = posY;
}

void QtUserInterface::PlaceSmallDialog(QWidget& dialog) {
  dialog.installEventFilter(new PlacementFilter(&dialog, posX_, posY_));
}

std::unique_ptr<QMessageBox> QtUserInterface::BuildMessageBox(MessageKind kind, std::string_view text,
                                                              std::string_view caption, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(IconFor(kind), BoxText(caption), BoxText(text), QMessageBox::NoButton,
                                           parent);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  box->setEscapeButton(ok);
  return box;
}

std::unique_ptr<QMessageBox> QtUserInterface::BuildQuestionBox(QuestionKind kind, std::string_view text,
                                                               std::string_view caption, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question, BoxText(caption), BoxText(text),
                                           QMessageBox::NoButton, parent);
  switch (kind) {
    case QuestionKind::OkCancel: {
      QPushButton* ok = box->addButton(QStringLiteral("Ok"), QMessageBox::AcceptRole);
      box->setEscapeButton(box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole));
      box->setDefaultButton(ok);
      break;
    }
    case QuestionKind::YesNo: {
      QPushButton* yes = box->addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
      box->setEscapeButton(box->addButton(QStringLiteral("No"), QMessageBox::NoRole));
      box->setDefaultButton(yes);
      break;
    }
    case QuestionKind::YesNoCancel: {
      QPushButton* yes = box->addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
      box->addButton(QStringLiteral("No"), QMessageBox::NoRole);
      box->setEscapeButton(box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole));
      box->setDefaultButton(yes);
      break;
    }
  }
  return box;
}

Answer QtUserInterface::AnswerOf(QuestionKind kind, const QMessageBox& box) {
  const QAbstractButton* clicked = box.clickedButton();
  const QString text = clicked ? clicked->text() : QString();
  if (text == QLatin1String("Ok")) return Answer::Ok;
  if (text == QLatin1String("Yes")) return Answer::Yes;
  if (text == QLatin1String("No")) return Answer::No;
  // Cancel, or a box closed some other way.
  return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
}

void QtUserInterface::ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) {
  OnWindowThread(
      [&] {
        std::unique_ptr<QMessageBox> box = BuildMessageBox(kind, text, caption, owner_);
        PlaceSmallDialog(*box);
        box->exec();
        return 0;
      },
      0);
}

Answer QtUserInterface::Ask(QuestionKind kind, std::string_view text, std::string_view caption) {
  const Answer negative = kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
  return OnWindowThread(
      [&] {
        std::unique_ptr<QMessageBox> box = BuildQuestionBox(kind, text, caption, owner_);
        PlaceSmallDialog(*box);
        box->exec();
        return AnswerOf(kind, *box);
      },
      negative);
}

std::optional<std::string> QtUserInterface::ChooseFile(const FileDialogRequest& request) {
  return OnWindowThread(
      [&]() -> std::optional<std::string> {
        QFileDialog dialog(owner_, FromUtf8(request.title), FromUtf8(request.folder));
        dialog.setNameFilters(FileDialogFilters(request.typeName, request.extension));
        if (request.kind == FileDialogKind::Save) {
          dialog.setAcceptMode(QFileDialog::AcceptSave);
          dialog.setFileMode(QFileDialog::AnyFile);
          // The overwrite question is the system's own ("File already exists, overwrite ?").
          dialog.setOption(QFileDialog::DontConfirmOverwrite);
          if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
        } else {
          dialog.setAcceptMode(QFileDialog::AcceptOpen);
          dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return std::nullopt;
        return files.front().toStdString();
      },
      std::optional<std::string>());
}

std::optional<std::string> QtUserInterface::ChooseFileOfType(const FileDialogRequest& request,
                                                            const std::vector<std::string>& filters, size_t& entry) {
  return OnWindowThread(
      [&]() -> std::optional<std::string> {
        QFileDialog dialog(owner_, FromUtf8(request.title), FromUtf8(request.folder));
        QStringList names;
        for (const std::string& filter : filters) names.push_back(FromUtf8(filter));
        dialog.setNameFilters(names);
        if (entry >= 1 && entry <= filters.size()) dialog.selectNameFilter(names[static_cast<qsizetype>(entry - 1)]);
        const bool save = request.kind == FileDialogKind::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The overwrite question is the system's own ("File already exists, overwrite ?").
        if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (save && !request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return std::nullopt;
        const qsizetype chosen = names.indexOf(dialog.selectedNameFilter());
        if (chosen >= 0) entry = static_cast<size_t>(chosen) + 1;
        return files.front().toStdString();
      },
      std::optional<std::string>());
}

void QtUserInterface::SetLine(QPointer<QLabel> label, std::string_view text) {
  const QString line = FromUtf8(text);
  OnWindowThread(
      [&] {
        if (label) label->setText(line);
        return 0;
      },
      0);
}

bool QtUserInterface::RunOnWindowThread(const std::function<void()>& work) {
  return OnWindowThread(
      [&] {
        work();
        return true;
      },
      false);
}

void QtUserInterface::SetStatus(std::string_view text) { SetLine(status_, text); }
void QtUserInterface::SetProduct(std::string_view text) { SetLine(product_, text); }

}  // namespace trelvik
