// "Set UTC offset for TN": the stored offset shown in its two lists, and the
// seconds a choice stores.
#include <gtest/gtest.h>
#include <QComboBox>

#include "qt_application.hpp"
#include "ui/utc_offset_dialog.hpp"

namespace trelvik {
namespace {

TEST(UtcOffsetDialog, ListsShowTheSettingAndAChoiceStoresItsSeconds) {
  (void)testing::Application();
  UtcOffsetDialog dialog(-12600, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Set UTC offset for TN");
  ASSERT_EQ(dialog.Hours().count(), 25);
  EXPECT_EQ(dialog.Hours().itemText(0), "12");
  EXPECT_EQ(dialog.Hours().itemText(24), "-12");
  EXPECT_EQ(dialog.Hours().currentText(), "-3");
  EXPECT_EQ(dialog.HalfHour().currentIndex(), 1);
  EXPECT_EQ(dialog.Seconds(), -12600);
  dialog.Hours().setCurrentIndex(dialog.Hours().findText("2"));
  dialog.HalfHour().setCurrentIndex(0);
  EXPECT_EQ(dialog.Seconds(), 7200);
  dialog.HalfHour().setCurrentIndex(1);
  EXPECT_EQ(dialog.Seconds(), 9000);
}

}  // namespace
}  // namespace trelvik
