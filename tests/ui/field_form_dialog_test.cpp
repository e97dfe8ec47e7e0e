// The form a job asks for (the DSX pilot data): its labels follow the mode
// buttons, its fields keep their limits, and OK returns what the user left.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "qt_application.hpp"
#include "ui/field_form_dialog.hpp"

namespace trelvik {
namespace {

FieldFormQuestion PilotData() {
  FieldFormQuestion question;
  question.title = "Set DSX pilot data";
  question.note = "Blank/unchanged fields are not sent";
  question.modeNames = {"Freeflight", "Gliding && motorplanes"};
  question.mode = 1;
  question.labels = {{"Pilot name", "CIVLID"}, {"Pilot name", "Comp. class"}};
  question.values = {"Jo Pilot", "1234"};
  question.limits = {62, 14};
  return question;
}

QStringList Labels(const QWidget& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

TEST(FieldFormDialog, ModeButtonsRelabelTheFieldsAndOkReturnsThem) {
  (void)testing::Application();
  const FieldFormQuestion question = PilotData();
  FieldFormDialog dialog(question, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Set DSX pilot data");
  EXPECT_TRUE(Labels(dialog).contains("Comp. class"));
  EXPECT_TRUE(Labels(dialog).contains("Blank/unchanged fields are not sent"));
  const QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>();
  ASSERT_EQ(fields.size(), 2);
  EXPECT_EQ(fields[1]->maxLength(), 14);
  const QList<QRadioButton*> modes = dialog.findChildren<QRadioButton*>();
  ASSERT_EQ(modes.size(), 2);
  EXPECT_TRUE(modes[1]->isChecked());
  modes[0]->click();
  EXPECT_TRUE(Labels(dialog).contains("CIVLID"));
  fields[1]->setText("5678");
  const FieldFormAnswer answer = dialog.Answer();
  EXPECT_EQ(answer.mode, 0);
  EXPECT_EQ(answer.values, (std::vector<std::string>{"Jo Pilot", "5678"}));
}

}  // namespace
}  // namespace trelvik
