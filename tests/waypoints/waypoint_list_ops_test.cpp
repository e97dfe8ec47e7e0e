// The waypoint list commands without their dialogs, the editor's field checks
// and the pilot ID waypoints.
#include <gtest/gtest.h>

#include <cstring>

#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "waypoints/pilot_id_waypoints.hpp"
#include "waypoints/waypoint_edit.hpp"
#include "waypoints/waypoint_fixtures.hpp"
#include "waypoints/waypoint_list_ops.hpp"

namespace trelvik {
namespace {

using testing::MakeWaypoint;
using testing::RecordedBox;
using testing::ScriptedUserInterface;

WaypointList ListOf(std::initializer_list<const char*> names) {
  WaypointList list;
  for (const char* name : names) list.waypoints.push_back(MakeWaypoint(name, name, 46, 7, 0, 0, 0));
  return list;
}

std::vector<std::string> Names(const WaypointList& list) {
  std::vector<std::string> names;
  for (const Waypoint& waypoint : list.waypoints) names.emplace_back(waypoint.name);
  return names;
}

TEST(WaypointList, AddingAnExistingNameAsksAndReplacesOrAppends) {
  ScriptedUserInterface ui;
  WaypointList list = ListOf({"A", "B", "A"});
  Waypoint again = MakeWaypoint("A", "new", 47, 8, 5, 0, 0);
  // No to the first "A", Yes to the second: that one is replaced in place.
  ui.QueueAnswer(Answer::No);
  ui.QueueAnswer(Answer::Yes);
  EXPECT_EQ(AddWaypoint(ui, list, again), 2);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B", "A"}));
  EXPECT_STREQ(list.waypoints[2].description, "new");
  ASSERT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(ui.questions[0].text, "Waypoint A already exists, overwrite ?");
  EXPECT_EQ(ui.questions[0].caption, "Insert waypoint");
  // No to both: appended, two entries of that name remain.
  ui.QueueAnswer(Answer::No);
  ui.QueueAnswer(Answer::No);
  EXPECT_EQ(AddWaypoint(ui, list, again), 3);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B", "A", "A"}));
  EXPECT_EQ(AddWaypoint(ui, list, MakeWaypoint("C", "", 0, 0, 0, 0, 0)), 4);
}

TEST(WaypointList, DeletingRowsKeepsTheOrderOfTheOthers) {
  WaypointList list = ListOf({"A", "B", "C", "D", "E"});
  DeleteWaypointRows(list, {3, 0, 3});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "C", "E"}));
  DeleteWaypointRows(list, {0, 1, 2});
  EXPECT_TRUE(list.waypoints.empty());
}

TEST(WaypointList, ReadWaypointsAppendOrReplaceAnExistingList) {
  ScriptedUserInterface ui;
  WaypointList list;
  InstallReadWaypoints(ui, list, ListOf({"A", "B"}).waypoints);
  EXPECT_TRUE(ui.questions.empty());  // nothing to append to
  EXPECT_EQ(ui.statusLines.back(), "2 waypoints read");

  ui.QueueAnswer(Answer::Yes);  // append
  ui.QueueAnswer(Answer::No);   // "B" exists: keep both
  InstallReadWaypoints(ui, list, ListOf({"B", "C"}).waypoints);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B", "B", "C"}));
  EXPECT_EQ(ui.questions[0].text, "Append new waypoints to existing list ?");
  EXPECT_EQ(ui.questions[0].caption, "Read waypoint file");

  ui.QueueAnswer(Answer::No);  // replace
  InstallReadWaypoints(ui, list, ListOf({"D"}).waypoints);
  EXPECT_EQ(Names(list), std::vector<std::string>{"D"});
}

TEST(WaypointList, SavingWritesTheSelectionOrSaysThereIsNone) {
  ScriptedUserInterface ui;
  testing::TempDir dir;
  const WaypointFileFormat& geo = *FindWaypointFileFormat("geo-waypoints");
  EXPECT_EQ(SaveWaypointFile(ui, geo, {}, dir.File("none.wpt"), {}), -1);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Error, "No waypoints selected", "Save waypoints"}));
  EXPECT_EQ(SaveWaypointFile(ui, geo, ListOf({"A"}).waypoints, dir.File("a.wpt"), {}), 0);
  EXPECT_EQ(ui.boxes.back(), (RecordedBox{MessageKind::Information, "File written", "Save waypoints"}));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(dir.File("a.wpt"), text));
  EXPECT_EQ(text.substr(0, 12), "$FormatGEO\r\n");
  EXPECT_EQ(SaveWaypointFile(ui, geo, ListOf({"A"}).waypoints, dir.File("no/such/folder.wpt"), {}), -1);
  EXPECT_EQ(ui.boxes.back().caption, "File write error");
}

TEST(WaypointList, StoredDialogChoicesOutsideTheirListsAreTheFirst) {
  EXPECT_EQ(WaypointExportEntry(0), 1u);
  EXPECT_EQ(WaypointExportEntry(9), 9u);
  EXPECT_EQ(WaypointExportEntry(10), 1u);
  EXPECT_EQ(WaypointImportEntry(6), 6u);
  EXPECT_EQ(WaypointImportEntry(7), 1u);
  EXPECT_EQ(WaypointImportEntry(-3), 1u);
}

WaypointEditFields GoodFields() {
  WaypointEditFields fields;
  fields.id = " tk1 ";
  fields.comment = "Take-off, north!";
  fields.height = "1001";
  fields.timestamp = "2012-07-01T10:00:00";
  fields.zone = "32T";
  fields.easting = "500000";
  fields.northing = "5150000";
  fields.latitude = "N 46 30 00.00";
  fields.longitude = "W 007 15 00.00";
  return fields;
}

TEST(WaypointEditor, EachFieldIsCheckedInTheDialogsOrder) {
  struct Case {
    void (*change)(WaypointEditFields&);
    bool utm;
    const char* message;
  };
  const Case cases[] = {
      {[](WaypointEditFields& f) { f.id = "  "; }, false, "Missing ID input"},
      {[](WaypointEditFields& f) { f.id = "TOOLONG"; }, false, "Bad ID"},
      {[](WaypointEditFields& f) { f.id = "A.B"; }, false, "Bad ID"},
      {[](WaypointEditFields& f) { f.height = ""; }, false, "Missing height input"},
      {[](WaypointEditFields& f) { f.height = "12.5"; }, false, "Bad height"},
      {[](WaypointEditFields& f) { f.timestamp = ""; }, false, "Missing timestamp input"},
      {[](WaypointEditFields& f) { f.timestamp = "2012-07-01 10:00:00"; }, false, "Bad timestamp input"},
      {[](WaypointEditFields& f) { f.timestamp = "2012-13-01T10:00:00"; }, false, "Bad timestamp input"},
      {[](WaypointEditFields& f) { f.zone = ""; }, true, "Missing zone input"},
      {[](WaypointEditFields& f) { f.zone = "61T"; }, true, "Bad zone input"},
      {[](WaypointEditFields& f) { f.easting = ""; }, true, "Missing easting input"},
      {[](WaypointEditFields& f) { f.easting = "5x"; }, true, "Bad easting character"},
      {[](WaypointEditFields& f) { f.easting = "1000001"; }, true, "Easting value out of range"},
      {[](WaypointEditFields& f) { f.northing = ""; }, true, "Missing northing input"},
      {[](WaypointEditFields& f) { f.northing = "n"; }, true, "Bad northing character"},
      {[](WaypointEditFields& f) { f.northing = "-1"; }, true, "Northing value out of range"},
      {[](WaypointEditFields& f) { f.latitude = ""; }, false, "Missing latitude input"},
      {[](WaypointEditFields& f) { f.latitude = "N 90"; }, false, "Bad latitude input"},
      {[](WaypointEditFields& f) { f.longitude = " "; }, false, "Missing longitude input"},
      {[](WaypointEditFields& f) { f.longitude = "E 12 60"; }, false, "Bad longitude input"},
      // A bad field of the other mode is not read.
      {[](WaypointEditFields& f) { f.latitude = "x"; }, true, nullptr},
      {[](WaypointEditFields& f) { f.zone = "x"; }, false, nullptr},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    WaypointEditFields fields = GoodFields();
    c.change(fields);
    const std::optional<Waypoint> edited = CheckWaypointEdit(ui, fields, c.utm);
    if (c.message == nullptr) {
      EXPECT_TRUE(edited.has_value());
      EXPECT_TRUE(ui.boxes.empty());
      continue;
    }
    EXPECT_FALSE(edited.has_value()) << c.message;
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, "Edit waypoint"}}));
  }
}

TEST(WaypointEditor, GoodFieldsGiveTheWaypointAndShowItAgain) {
  ScriptedUserInterface ui;
  WaypointEditFields fields = GoodFields();
  fields.airfield = true;
  const std::optional<Waypoint> edited = CheckWaypointEdit(ui, fields, false);
  ASSERT_TRUE(edited);
  EXPECT_STREQ(edited->name, "TK1");
  EXPECT_STREQ(edited->description, "Take-off- north-");
  EXPECT_EQ(edited->alt, 1001);
  EXPECT_EQ(edited->airport, 1);
  EXPECT_EQ(edited->time, testing::kJuly1);
  EXPECT_EQ(edited->lat, DegreesToSemicircle(46.5));
  EXPECT_EQ(edited->lon, DegreesToSemicircle(-7.25));
  const WaypointEditFields shown = EditFieldsOf(*edited);
  EXPECT_EQ(shown.latitude, "N 46  30  00.00");  // the display form
  EXPECT_EQ(shown.longitude, "W 007  15  00.00");
  EXPECT_EQ(shown.timestamp, fields.timestamp);
  EXPECT_EQ(shown.zone, "29T");
  // The UTM form of the same position reads back to it within a metre.
  const std::optional<Waypoint> viaUtm = CheckWaypointEdit(ui, shown, true);
  ASSERT_TRUE(viaUtm);
  EXPECT_NEAR(viaUtm->lat, edited->lat, 150);
  EXPECT_NEAR(viaUtm->lon, edited->lon, 150);
  const Waypoint fresh = NewWaypoint(1234);
  EXPECT_STREQ(fresh.name, "");
  EXPECT_EQ(fresh.alt, 0);
  EXPECT_EQ(fresh.airport, 0);
  EXPECT_EQ(fresh.time, 1234u);
}

TEST(PilotIdWaypoints, NumbersAreSpelledByThePositionAndReadBack) {
  const Waypoint comp = PilotIdWaypoint(kCompIdName, 123, 99);
  EXPECT_STREQ(comp.name, "COMPID");
  EXPECT_STREQ(comp.description, "COMPID 123");
  // 1 deg 2 min 3 s N, 0 E.
  EXPECT_EQ(comp.lat, DegreesToSemicircle(1 + 2 / 60.0 + 3 / 3600.0));
  EXPECT_EQ(comp.lon, 0);
  EXPECT_EQ(comp.time, 99u);
  EXPECT_EQ(comp.alt, 0);
  for (const int32_t id : {0, 7, 123, 4567, 999999, 17999999, 12345678}) {
    EXPECT_EQ(DecodePilotId(PilotIdWaypoint(kCivlIdName, id, 0)), id) << id;
  }
  Waypoint south = PilotIdWaypoint(kCivlIdName, 4567, 0);
  south.lat = -south.lat;
  EXPECT_EQ(DecodePilotId(south), std::nullopt);
  Waypoint minuteTen = PilotIdWaypoint(kCivlIdName, 4567, 0);
  minuteTen.lat = DegreesToSemicircle(1 + 10 / 60.0);
  EXPECT_EQ(DecodePilotId(minuteTen), std::nullopt);
}

}  // namespace
}  // namespace trelvik
