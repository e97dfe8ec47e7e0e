#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <cstring>
#include <numbers>

#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "ui/coordinate_dialog.hpp"
#include "ui/distance_dialog.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;

Waypoint MakeWaypoint(const char* name, const char* description, double latDegrees, double lonDegrees) {
  Waypoint waypoint;
  std::strcpy(waypoint.name, name);
  std::strcpy(waypoint.description, description);
  waypoint.lat = RadiansToSemicircle(latDegrees * std::numbers::pi / 180);
  waypoint.lon = RadiansToSemicircle(lonDegrees * std::numbers::pi / 180);
  return waypoint;
}

class DistanceDialogTest : public ::testing::Test {
 protected:
  DistanceDialogTest() {
    testing::Application();
    waypoints.waypoints = {MakeWaypoint("START", "Launch", 60, 9), MakeWaypoint("GOAL", "Landing", 60.5, 9)};
  }
  WaypointList waypoints;
  PositionDialogsState state;
  testing::ScriptedUserInterface ui;
};

TEST_F(DistanceDialogTest, OpensWithBothSidesAtTheFirstWaypoint) {
  DistanceDialog dialog(waypoints, state, ui);
  EXPECT_EQ(dialog.windowTitle(), "Calculate distance");
  EXPECT_EQ(dialog.From().waypoint->count(), 2);
  EXPECT_EQ(dialog.To().waypoint->currentText(), "START");
  EXPECT_EQ(dialog.To().comment->text(), "Launch");
  EXPECT_EQ(dialog.From().first->text(), "N 60  00  00.00");
  EXPECT_EQ(dialog.FirstLabel().text(), "&Latitude");
  EXPECT_EQ(dialog.SecondLabel().text(), "Lo&ngitude");
  EXPECT_FALSE(dialog.From().zone->isEnabled());
  EXPECT_EQ(dialog.Result().text(), "0.00");
}

TEST_F(DistanceDialogTest, ChoosingAWaypointRefillsItsSideAndRecalculates) {
  DistanceDialog dialog(waypoints, state, ui);
  dialog.To().waypoint->setCurrentIndex(1);
  emit dialog.To().waypoint->activated(1);
  EXPECT_EQ(dialog.To().first->text(), "N 60  30  00.00");
  EXPECT_EQ(dialog.To().comment->text(), "Landing");
  EXPECT_NEAR(dialog.Result().text().toDouble(), 55700, 100);
}

TEST_F(DistanceDialogTest, UtmModeRelabelsAndRefillsFromTheStoredPositions) {
  DistanceDialog dialog(waypoints, state, ui);
  emit dialog.To().waypoint->activated(1);
  const QString metres = dialog.Result().text();
  dialog.UtmBox().click();
  EXPECT_EQ(dialog.FirstLabel().text(), "&Easting");
  EXPECT_EQ(dialog.SecondLabel().text(), "&Northing");
  EXPECT_TRUE(dialog.From().zone->isEnabled());
  EXPECT_EQ(dialog.From().zone->text(), "32V");
  EXPECT_EQ(dialog.From().first->text(), "0500000");
  EXPECT_EQ(dialog.From().second->text(), "6651411");
  EXPECT_NEAR(dialog.Result().text().toDouble(), metres.toDouble(), 1.0);
  EXPECT_TRUE(state.distanceUtm);
  // Typed positions are used for the calculation only.
  dialog.From().zone->clear();
  dialog.Calculate();
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Missing input", "Reading FROM zone"}}));
}

TEST_F(DistanceDialogTest, KeepsModeAndPositionsBetweenOpenings) {
  const WaypointList none;
  {
    DistanceDialog dialog(none, state, ui);
    dialog.UtmBox().click();
    dialog.From().first->setText("0400000");  // typed, not stored
  }
  state.distanceFrom = {60 * std::numbers::pi / 180, 9 * std::numbers::pi / 180};
  DistanceDialog again(none, state, ui);
  EXPECT_TRUE(again.UtmBox().isChecked());
  EXPECT_EQ(again.From().first->text(), "0500000");
  EXPECT_EQ(again.From().zone->text(), "32V");
  EXPECT_EQ(again.To().zone->text(), "31N");  // To was never moved from 0 N 0 E
}

TEST(CoordinateDialog, ConvertsBothWaysAndReportsFaults) {
  testing::Application();
  testing::ScriptedUserInterface ui;
  CoordinateDialog dialog(ui);
  EXPECT_EQ(dialog.windowTitle(), "Coordinate conversion");
  EXPECT_EQ(dialog.Zone().maxLength(), 80);
  dialog.Latitude().setText("N 60");
  dialog.Longitude().setText("E 9");
  dialog.ToUtm();
  EXPECT_EQ(dialog.Zone().text(), "32V");
  EXPECT_EQ(dialog.Easting().text(), "0500000.0000");
  dialog.ToDegrees();
  EXPECT_EQ(dialog.Longitude().text(), "E 009 00 00.00000");
  dialog.Northing().clear();
  dialog.ToDegrees();
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Missing input", "Decoding northing string"}}));
}

}  // namespace
}  // namespace trelvik
