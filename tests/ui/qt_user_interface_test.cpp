#include "ui/qt_user_interface.hpp"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

#include "qt_application.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::Application;
using testing::WhenModalOpens;

QStringList ButtonTexts(const QMessageBox& box) {
  QStringList texts;
  for (const QAbstractButton* button : box.buttons()) texts << button->text();
  texts.sort();
  return texts;
}

QAbstractButton* ButtonWithText(const QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

TEST(MessageBoxes, TheThreeOkKindsHaveOneOkButton) {
  Application();
  for (MessageKind kind : {MessageKind::Error, MessageKind::Information, MessageKind::Warning}) {
    auto box = QtUserInterface::BuildMessageBox(kind, "text", "caption", nullptr);
    EXPECT_EQ(ButtonTexts(*box), QStringList{"OK"});
    EXPECT_EQ(box->windowTitle(), "caption");
    EXPECT_EQ(box->text(), "text");
  }
}

struct QuestionCase {
  QuestionKind kind;
  QStringList buttons;  // sorted
  const char* pressed;  // nullptr: closed with Escape
  Answer answer;
};

const QuestionCase kQuestionCases[] = {
    {QuestionKind::OkCancel, {"Cancel", "Ok"}, "Ok", Answer::Ok},
    {QuestionKind::OkCancel, {"Cancel", "Ok"}, "Cancel", Answer::Cancel},
    {QuestionKind::OkCancel, {"Cancel", "Ok"}, nullptr, Answer::Cancel},
    {QuestionKind::YesNo, {"No", "Yes"}, "Yes", Answer::Yes},
    {QuestionKind::YesNo, {"No", "Yes"}, "No", Answer::No},
    {QuestionKind::YesNoCancel, {"Cancel", "No", "Yes"}, "Yes", Answer::Yes},
    {QuestionKind::YesNoCancel, {"Cancel", "No", "Yes"}, "No", Answer::No},
    {QuestionKind::YesNoCancel, {"Cancel", "No", "Yes"}, "Cancel", Answer::Cancel},
    {QuestionKind::YesNoCancel, {"Cancel", "No", "Yes"}, nullptr, Answer::Cancel},
};

TEST(MessageBoxes, QuestionsHaveTheirButtonsAndAnswers) {
  Application();
  QtUserInterface ui;
  for (const QuestionCase& question : kQuestionCases) {
    SCOPED_TRACE(question.pressed ? question.pressed : "Escape");
    QStringList seen;
    WhenModalOpens([&](QWidget& widget) {
      auto& box = static_cast<QMessageBox&>(widget);
      seen = ButtonTexts(box);
      if (question.pressed) {
        ButtonWithText(box, question.pressed)->click();
      } else {
        QTest::keyClick(&box, Qt::Key_Escape);
      }
    });
    EXPECT_EQ(ui.Ask(question.kind, "Continue ?", "Question"), question.answer);
    EXPECT_EQ(seen, question.buttons);
  }
}

TEST(MessageBoxes, CaptionAndTextAreCutTo99Characters) {
  Application();
  QtUserInterface ui;
  QString caption;
  QString text;
  WhenModalOpens([&](QWidget& widget) {
    auto& box = static_cast<QMessageBox&>(widget);
    caption = box.windowTitle();
    text = box.text();
    box.buttons().front()->click();
  });
  ui.ShowMessage(MessageKind::Error, std::string(150, 't'), std::string(120, 'c'));
  EXPECT_EQ(caption, QString(99, 'c'));
  EXPECT_EQ(text, QString(99, 't'));
}

TEST(MessageBoxes, OpenAtTheCommandLinePositionKeptOnScreen) {
  Application();
  QtUserInterface ui;
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  struct Case {
    int x, y;
    QPoint expected;
  } cases[] = {
      {40, 60, {40, 60}},
      {screen.width() + 500, 60, {screen.width() - 5, 60}},
      {40, screen.height() + 500, {40, screen.height() - 7}},
  };
  for (const Case& c : cases) {
    ui.SetDialogPosition(c.x, c.y);
    QPoint shownAt;
    WhenModalOpens([&](QWidget& box) {
      shownAt = box.pos();
      static_cast<QMessageBox&>(box).buttons().front()->click();
    });
    ui.ShowMessage(MessageKind::Information, "placed", "Placement");
    EXPECT_EQ(shownAt, c.expected);
  }
}

TEST(MessageBoxes, WithoutAPositionTheBoxIsNotMovedThere) {
  Application();
  QtUserInterface ui;
  ui.SetDialogPosition(40, 0);  // only one of the two given
  QPoint shownAt;
  WhenModalOpens([&](QWidget& box) {
    shownAt = box.pos();
    static_cast<QMessageBox&>(box).buttons().front()->click();
  });
  ui.ShowMessage(MessageKind::Information, "centred", "Placement");
  EXPECT_NE(shownAt, QPoint(40, 0));
}

TEST(MessageBoxes, AJobThreadWaitsForTheAnswerGivenOnTheWindowThread) {
  Application();
  QtUserInterface ui;
  QLabel product;
  QLabel status;
  ui.SetLines(&product, &status);
  WhenModalOpens([](QWidget& widget) {
    ButtonWithText(static_cast<QMessageBox&>(widget), "Yes")->click();
  });
  Answer answer = Answer::Cancel;
  std::atomic<bool> done = false;
  std::thread job([&] {
    ui.SetStatus("Track position 12");
    ui.SetProduct("Flytec 6030");
    answer = ui.Ask(QuestionKind::YesNo, "Overwrite ?", "Job");
    done = true;
  });
  QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
  job.join();
  EXPECT_EQ(answer, Answer::Yes);
  EXPECT_EQ(status.text(), "Track position 12");
  EXPECT_EQ(product.text(), "Flytec 6030");
}

TEST(MessageBoxes, AfterCloseAJobThreadGetsTheNegativeAnswerAtOnce) {
  Application();
  QtUserInterface ui;
  ui.Close();
  Answer answer = Answer::Ok;
  std::thread job([&] { answer = ui.Ask(QuestionKind::OkCancel, "Go on ?", "Job"); });
  job.join();
  EXPECT_EQ(answer, Answer::Cancel);
}

TEST(FileDialogs, FilterListNamesTheTypeThenAllFiles) {
  EXPECT_EQ(FileDialogFilters("IGC file", ".igc"), (QStringList{"IGC file (*.igc)", "All Files (*)"}));
}

TEST(FileDialogs, StartInTheFolderAndReturnTheChosenName) {
  Application();
  testing::TempDir dir;
  QtUserInterface ui;
  QStringList filters;
  QString folder;
  WhenModalOpens([&](QWidget& widget) {
    auto& dialog = static_cast<QFileDialog&>(widget);
    filters = dialog.nameFilters();
    folder = dialog.directory().absolutePath();
    dialog.selectFile(QString::fromStdString(dir.Path() + "/flight.log"));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  FileDialogRequest request{FileDialogKind::Save, "Save debug buffer", "Log files", ".log", dir.Path()};
  const std::optional<std::string> chosen = ui.ChooseFile(request);
  EXPECT_EQ(filters, (QStringList{"Log files (*.log)", "All Files (*)"}));
  EXPECT_EQ(folder.toStdString(), dir.Path());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, dir.Path() + "/flight.log");
}

TEST(FileDialogs, CancelGivesNoName) {
  Application();
  QtUserInterface ui;
  WhenModalOpens([](QWidget& widget) { static_cast<QDialog&>(widget).reject(); });
  FileDialogRequest request{FileDialogKind::Open, "Read track log", "IGC", ".igc", "/"};
  EXPECT_FALSE(ui.ChooseFile(request));
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

TEST(FileDialogs, ASaveDialogOffersTheProposedName) {
  testing::Application();
  testing::TempDir dir;
  QtUserInterface ui;
  QString offered;
  testing::WhenModalOpens([&](QWidget& widget) {
    auto& dialog = static_cast<QFileDialog&>(widget);
    const QStringList selected = dialog.selectedFiles();
    offered = selected.isEmpty() ? QString() : QFileInfo(selected.front()).fileName();
    static_cast<QDialog&>(dialog).reject();
  });
  FileDialogRequest request{FileDialogKind::Save, "Save track log", "IGC track log files", ".igc", dir.Path(),
                            "2024-07-15-XTV-T01-01.igc"};
  EXPECT_FALSE(ui.ChooseFile(request));
  EXPECT_EQ(offered, "2024-07-15-XTV-T01-01.igc");
}

}  // namespace
}  // namespace trelvik
