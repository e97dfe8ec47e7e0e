#include <gtest/gtest.h>

#include "airspace/ctr_edit.hpp"
#include "airspace/ctr_list_view.hpp"
#include "airspace/ctr_names.hpp"
#include "airspace/ctr_selection.hpp"
#include "airspace/ctr_waypoints.hpp"
#include "airspace_fixtures.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::RecordedBox;
using testing::ScriptedUserInterface;

constexpr TrackTime kNow = 1000000;

CtrList Named(std::initializer_list<std::string> names) {
  CtrList list;
  for (const std::string& name : names) {
    CtrArea& area = list.emplace_back();
    area.name = name;
  }
  return list;
}

std::vector<std::string> Names(const CtrList& list) {
  std::vector<std::string> names;
  for (const CtrArea& area : list) names.push_back(area.name);
  return names;
}

TEST(FixEqualCtrNames, YesNumbersTheRepeatsInListOrder) {
  CtrList list = Named({"TMA", "CTR", "TMA", "TMA", "CTR", "Other"});
  ScriptedUserInterface ui;
  ui.QueueAnswer(Answer::Yes);
  FixEqualCtrNames(ui, list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"TMA", "CTR", "TMA(1)", "TMA(2)", "CTR(1)", "Other"}));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "Fix name by appending number ?");
  EXPECT_EQ(ui.questions[0].caption, "Equal CTR name(s)");
  EXPECT_EQ(ui.questions[0].kind, QuestionKind::YesNo);
}

TEST(FixEqualCtrNames, NoKeepsTheNamesAndUniqueNamesAskNothing) {
  CtrList list = Named({"TMA", "TMA"});
  ScriptedUserInterface ui;
  ui.QueueAnswer(Answer::No);
  FixEqualCtrNames(ui, list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"TMA", "TMA"}));
  CtrList unique = Named({"A", "B", "C"});
  FixEqualCtrNames(ui, unique);
  EXPECT_EQ(ui.questions.size(), 1u);
}

TEST(FixEqualCtrNames, LongNamesAreCutBeforeTheNumber) {
  const std::string name49(49, 'n');
  std::string accented;
  for (int i = 0; i < 50; ++i) accented += "\xC3\xA9";
  CtrList list = Named({name49, name49, accented, accented});
  ScriptedUserInterface ui;
  ui.QueueAnswer(Answer::Yes);
  FixEqualCtrNames(ui, list);
  EXPECT_EQ(list[1].name, std::string(47, 'n') + "(1)");
  EXPECT_EQ(list[3].name, accented.substr(0, 94) + "(1)");  // 47 characters of two bytes
}

TEST(FixEqualCtrNames, ARenamedAirspaceCanMeetALaterOne) {
  CtrList list = Named({"A", "A", "A(1)"});
  ScriptedUserInterface ui;
  ui.QueueAnswer(Answer::Yes);
  FixEqualCtrNames(ui, list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "A(1)", "A(1)(1)"}));
}

TEST(CtrCommandAllowed, BusyAndViewChecks) {
  ScriptedUserInterface ui;
  EXPECT_FALSE(CtrCommandAllowed(ui, true, true, "Edit CTR"));
  EXPECT_FALSE(CtrCommandAllowed(ui, false, false, "Show CTR"));
  EXPECT_TRUE(CtrCommandAllowed(ui, false, true, "Show CTR"));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Busy GPS driver", "Edit CTR"},
                                                {MessageKind::Error, "Incorrect view mode", "Show CTR"}}));
}

TEST(DeleteCtrs, TwoAdjacentInTheMiddleLeaveTheRestInOrder) {
  CtrList list = Named({"A", "B", "C", "D", "E"});
  ScriptedUserInterface ui;
  ASSERT_TRUE(DeleteCtrs(ui, list, {2, 1}));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "D", "E"}));
  EXPECT_FALSE(DeleteCtrs(ui, list, {}));
  EXPECT_FALSE(DeleteCtrs(ui, list, {3}));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No CTR(s) selected", "Edit CTR"},
                                                {MessageKind::Error, "Program error", "CTR list action"}}));
  EXPECT_EQ(list.size(), 3u);
}

constexpr const char* kTwoAreas =
    "AN First\nAL GND\nAH FL 95\nDP 45N 6E\nDP 45.1N 6E\n"
    "AN Second\nAL 1000 m\nAH 2000 m\nV D=-\nV X=46N 7E\nDA 2,90,180\n";

TEST(EditCtr, FirstSelectedRowAsEditorText) {
  CtrList list = MustParse(kTwoAreas);
  list[1].warningDistance = 350;
  ScriptedUserInterface ui;
  const std::optional<CtrEditorContent> content = EditCtrText(ui, list, {1});
  ASSERT_TRUE(content);
  EXPECT_EQ(content->row, 1u);
  EXPECT_EQ(content->warningDistance, 350);
  EXPECT_EQ(content->text,
            "*Airspace name\r\nAN Second\r\n*Airspace floor (Remark)\r\nAL 1000 m\r\n*Airspace ceiling\r\nAH 2000 m\r\n"
            "*Use records V, DP, DA, DB or DC\r\n*Pos. formats: DD.dd... or DD:MM.mm... or DD:MM:SS.s\r\n"
            "V D = -\r\nV X = 46:00:00.0 N   7:00:00.0 E\r\nDA 1.9998, 90.00, 180.00\r\n");
}

TEST(EditCtr, OkReplacesTheAirspaceInPlace) {
  CtrList list = MustParse(kTwoAreas);
  ScriptedUserInterface ui;
  ASSERT_TRUE(EditCtr(ui, list, 0, "AN Renamed\nAL GND\nAH FL 65\nDP 45N 6E\nDP 45.2N 6E\nAN Dropped\nDP 1N 1E\n",
                           " 750 "));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Renamed", "Second"}));
  EXPECT_EQ(list[0].warningDistance, 750);
  EXPECT_EQ(list[0].ceilingValue, 6500);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(EditCtr, EveryRefusal) {
  const CtrList original = MustParse(kTwoAreas);
  const struct {
    const char* text;
    const char* distance;
    const char* message;
    const char* caption;
  } cases[] = {
      {"AN X\nDP 1N 1E\n", "", "Missing warning distance input", "Edit CTR"},
      {"AN X\nDP 1N 1E\n", "  ", "Missing warning distance input", "Edit CTR"},
      {"AN X\nDP 1N 1E\n", "12a", "Bad warning distance format", "Edit CTR"},
      {"AN X\nDP 1N 1E\n", "-5", "Bad warning distance format", "Edit CTR"},
      {"AN X\nDP 1N 1E\n", "99999999999", "Bad warning distance format", "Edit CTR"},
      {"", "200", "Missing text", "Edit CTR"},
      {"AN X\nDC 5\n", "200", "Missing centre for DC record (line 2)", "Parsing CTR buffer"},
      {"* only a comment\r\n", "200", nullptr, nullptr},  // no airspace: the editor stays open
  };
  for (const auto& c : cases) {
    CtrList list = original;
    ScriptedUserInterface ui;
    EXPECT_FALSE(EditCtr(ui, list, 1, c.text, c.distance)) << c.text << c.distance;
    EXPECT_EQ(list, original);
    if (c.message) {
      EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, c.caption}}));
    } else {
      EXPECT_TRUE(ui.boxes.empty());
    }
  }
}

TEST(EditCtr, EmptyListOrNoSelection) {
  ScriptedUserInterface ui;
  EXPECT_FALSE(EditCtrText(ui, {}, {0}));
  EXPECT_FALSE(EditCtrText(ui, MustParse(kTwoAreas), {}));
  EXPECT_FALSE(EditCtrText(ui, MustParse(kTwoAreas), {5}));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No CTR in list", "Edit CTR"},
                                                {MessageKind::Error, "No CTR selected", "Edit CTR"},
                                                {MessageKind::Error, "Program error", "CTR list action"}}));
}

TEST(NewCtr, TemplateAndTheNewAirspaceInFront) {
  const CtrEditorContent content = NewCtrText();
  EXPECT_EQ(content.warningDistance, 200);
  EXPECT_EQ(content.text,
            "*Airspace name\r\nAN Put airspace name here\r\n*Airspace floor (Remark)\r\nAL Put floor remark here\r\n"
            "*Airspace ceiling\r\nAH Put ceiling remark here\r\n*Use records V, DP, DA, DB or DC\r\n"
            "*Pos. formats: DD.dd... or DD:MM.mm... or DD:MM:SS.s\r\n");
  CtrList list = MustParse(kTwoAreas);
  ScriptedUserInterface ui;
  // The untouched template has no outline yet.
  EXPECT_FALSE(NewCtr(ui, list, content.text, "200"));
  EXPECT_EQ(ui.boxes.at(0).text, "No segments in airspace (line 9)");
  ASSERT_TRUE(NewCtr(ui, list, content.text + "V X=45N 6E\r\nDC 3\r\n", "200"));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Put airspace name here", "First", "Second"}));
  EXPECT_EQ(list[0].floorRemark, "Put floor remark here");
}

TEST(ShowCtrAsWaypoints, OutlineReplacesTheWaypointsAndThePreview) {
  AirspaceList store;
  store.areas = MustParse(kTwoAreas);
  WaypointList waypoints;
  waypoints.waypoints.resize(7);
  ScriptedUserInterface ui;
  ASSERT_TRUE(ShowCtrAsWaypoints(ui, store, {1, 0}, 10, kNow, waypoints));
  ASSERT_EQ(waypoints.Count(), 3);
  EXPECT_STREQ(waypoints.waypoints[1].name, "CAAAAB");  // row 0
  EXPECT_EQ(store.previewTrack.size(), 3u);
  EXPECT_EQ(store.previewTrack[2].time, kNow + 10);
}

TEST(ShowCtrAsWaypoints, RefusalsLeaveEverything) {
  AirspaceList store;
  store.areas = MustParse("AN Tiny\nDP 45N 6E\nDP 45:00:01 N 6E\n");
  WaypointList waypoints;
  waypoints.waypoints.resize(7);
  ScriptedUserInterface ui;
  EXPECT_FALSE(ShowCtrAsWaypoints(ui, store, {}, 10, kNow, waypoints));
  EXPECT_FALSE(ShowCtrAsWaypoints(ui, store, {0}, 10, kNow, waypoints));  // one point: no outline
  EXPECT_FALSE(ShowCtrAsWaypoints(ui, store, {4}, 10, kNow, waypoints));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No CTR selected", "Show CTR"},
                                                {MessageKind::Error, "Program error", "CTR list action"}}));
  EXPECT_EQ(waypoints.Count(), 7);
  EXPECT_TRUE(store.previewTrack.empty());
}

TEST(SegErrorInput, EveryAnswer) {
  const struct {
    const char* field;
    const char* message;
    int32_t value;
  } cases[] = {{"", "Missing input", 0},       {"   ", "Missing input", 0}, {"1.5", "Bad input", 0},
               {"abc", "Bad input", 0},        {"0", "Use 1m or greater", 0}, {"-3", "Use 1m or greater", 0},
               {" 25 ", nullptr, 25},          {"1", nullptr, 1}};
  for (const auto& c : cases) {
    ScriptedUserInterface ui;
    int32_t segError = 10;
    EXPECT_EQ(ParseSegErrorInput(ui, c.field, segError), c.message == nullptr) << c.field;
    if (c.message) {
      EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, c.message, "Set segment error"}}));
      EXPECT_EQ(segError, 10);
    } else {
      EXPECT_EQ(segError, c.value);
    }
  }
  EXPECT_EQ(SegErrorFieldText(10), "10");
}

TEST(CtrRowTexts, TheFiveColumns) {
  CtrArea area = MustParse(kTwoAreas)[1];
  area.warningDistance = 350;
  area.name = std::string(90, 'n');
  const auto row = CtrRowTexts(area);
  EXPECT_EQ(row[0], std::string(79, 'n'));
  EXPECT_EQ(row[1], "1000 m");
  EXPECT_EQ(row[2], "2000 m");
  EXPECT_EQ(row[3], "350");
  EXPECT_EQ(row[4], "1");
  EXPECT_EQ(kCtrColumns[1].header, "Floor (Remark)");
  EXPECT_EQ(kCtrColumns[4].widthInCharacters, 10);
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

TEST(CtrNamesFit, EqualAfterSeventeenCharacters) {
  const struct {
    std::vector<std::string> names;
    const char* message;
  } cases[] = {
      {{"Alpha", "Beta", "Alpha"}, "One or more of the selected CTRs have equal names"},
      {{"Alpha TMA sector 1 east", "Alpha TMA sector 1 west"},
       "One or more of the selected CTRs have equal\r\nnames after limiting the length to fit the GPS"},
      {{"Alpha TMA sector ", "Alpha TMA sector 1"},
       "One or more of the selected CTRs have equal\r\nnames after limiting the length to fit the GPS"},
      {{"Alpha TMA sector1", "Alpha TMA sector2", "Beta"}, nullptr},
  };
  for (const auto& c : cases) {
    CtrList list;
    for (const std::string& name : c.names) {
      list.emplace_back().name = name;
      list.back().selected = true;
    }
    testing::ScriptedUserInterface ui;
    EXPECT_EQ(CtrNamesFit(ui, list, kFlytecCtrNameLength), c.message == nullptr);
    if (c.message) {
      EXPECT_EQ(ui.boxes, (std::vector<testing::RecordedBox>{{MessageKind::Error, c.message, "Upload CTR"}}));
    }
  }
  CtrList unselected(2);
  testing::ScriptedUserInterface ui;
  EXPECT_TRUE(CtrNamesFit(ui, unselected, kFlytecCtrNameLength));
}

}  // namespace
}  // namespace trelvik
