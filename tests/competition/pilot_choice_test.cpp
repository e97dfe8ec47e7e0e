// The pilot dialogs' field logic and the task's time window fields.
#include <gtest/gtest.h>

#include "competition/competition_times.hpp"
#include "competition/pilot_choice.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

PilotList List() {
  PilotList list;
  // name, CIVL ID, COMP ID
  list.entries = {{"Ann", 1, 100}, {"Bob", 2, 1}, {"Cid", -1, 300}};
  return list;
}

TEST(PilotChoice, PreselectionTriesCivlThenCompForEachEntry) {
  EXPECT_EQ(PreselectedPilot(List(), 100, 2), 0u) << "the first entry that matches either, not the CIVL match";
  EXPECT_EQ(PreselectedPilot(List(), 1, -1), 1u);
  EXPECT_EQ(PreselectedPilot(List(), 300, 9), 2u);
  EXPECT_EQ(PreselectedPilot(List(), -1, -1), 0u);
  EXPECT_EQ(PreselectedPilot(PilotList{}, 1, 1), std::nullopt);
}

TEST(PilotChoice, TypedIdsNameEntries) {
  EXPECT_EQ(EntryWithTypedId(List(), "300", false), 2u);
  EXPECT_EQ(EntryWithTypedId(List(), " 2 ", true), 1u);
  EXPECT_EQ(EntryWithTypedId(List(), "300", true), std::nullopt);
  EXPECT_EQ(EntryWithTypedId(List(), "3x", false), std::nullopt);
  EXPECT_EQ(FieldsOfEntry(List().entries[2]), (PilotFields{"300", "", "Cid"}));
}

TEST(PilotChoice, OkChecksBothIds) {
  testing::ScriptedUserInterface ui;
  EXPECT_EQ(CheckSaveLogPilot(ui, {"12", "", "Ann"}), (ChosenPilot{12, -1, "Ann"}));
  EXPECT_EQ(CheckSaveLogPilot(ui, {"1a", "", "Ann"}), std::nullopt);
  EXPECT_EQ(CheckSaveLogPilot(ui, {"", "-4", "Ann"}), std::nullopt);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0], (testing::RecordedBox{MessageKind::Error, "Bad comp. pilot ID", "Pilot parameter check"}));
  EXPECT_EQ(ui.boxes[1].text, "Bad CIVL pilot ID");
  EXPECT_EQ(ChosenPilotStatus({12, -1, "Ann"}), "Pilot [12] Ann");
  EXPECT_EQ(SaveCompetitionLogTitle("/dev/ttyUSB0", "6030"), "Save competition log (/dev/ttyUSB0, 6030)");
  EXPECT_EQ(SaveCompetitionLogTitle("/dev/ttyUSB0", ""), "Save competition log (/dev/ttyUSB0)");
}

TEST(CompetitionTimes, FieldsReadAndShown) {
  const std::optional<TrackTime> time = ParseCompetitionTime("2007-08-10  10:00:00");
  ASSERT_TRUE(time);
  EXPECT_EQ(*time, 555674400u);
  EXPECT_EQ(CompetitionTimeText(555674400u), "2007-08-10  10:00:00");
  EXPECT_EQ(ParseCompetitionTime("2007-8-1 9:0:0"), TrackTimeFromDate({2007, 8, 0, 1, 9, 0, 0, 0}));
  EXPECT_EQ(ParseCompetitionTime("   "), TrackTime{0});
  EXPECT_TRUE(ParseCompetitionTime("2008-02-29  10:00:00"));
  for (const char* bad : {"2007-08-10", "2007-13-10  10:00:00", "2007-08-10  24:00:00", "2007-08-10  10:60:00",
                          "2007-08-10T10:00:00", "2007-08-10  10:00:00x", "2500-01-01  00:00:00",
                          "2007-02-29  10:00:00", "2007-04-31  10:00:00"}) {
    EXPECT_EQ(ParseCompetitionTime(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(CompetitionTimeLine(0, "No stop time"), "No stop time");
}

TEST(CompetitionTimes, OkChecksTheOrder) {
  testing::ScriptedUserInterface ui;
  EXPECT_FALSE(CheckCompetitionTimes(ui, "2024-07-15  12:00:00", "2024-07-15  10:00:00"));
  EXPECT_FALSE(CheckCompetitionTimes(ui, "x", ""));
  EXPECT_FALSE(CheckCompetitionTimes(ui, "", "x"));
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[0], (testing::RecordedBox{MessageKind::Error, "Stop time before start time", "Read comp. time"}));
  EXPECT_EQ(ui.boxes[1].text, "Bad start time");
  EXPECT_EQ(ui.boxes[2].text, "Bad stop time");
  const std::optional<CompetitionTimes> open = CheckCompetitionTimes(ui, "2024-07-15  10:00:00", "");
  ASSERT_TRUE(open);
  EXPECT_EQ(open->stop, 0u);
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

TEST(SelectPilot, TheChosenEntryTakesTheTypedIds) {
  testing::ScriptedUserInterface ui;
  PilotList list = List();
  EXPECT_EQ(CheckSelectPilot(ui, {"77", "", "typed"}, list, 1u), (ChosenPilot{77, -1, "Bob"}));
  EXPECT_EQ(list.entries[1].compId, 77);
  EXPECT_EQ(list.entries[1].civlId, -1);
  EXPECT_EQ(CheckSelectPilot(ui, {"1", "2", ""}, list, std::nullopt), std::nullopt);
  EXPECT_EQ(ui.boxes.back(), (testing::RecordedBox{MessageKind::Error, "Dialog box error", "Check ID"}));
  PilotList none;
  EXPECT_EQ(CheckSelectPilot(ui, {"1", "2", "Zoe"}, none, std::nullopt), (ChosenPilot{1, 2, "Zoe"}));
  EXPECT_EQ(CheckSelectPilot(ui, {"x", "", ""}, none, std::nullopt), std::nullopt);
  EXPECT_EQ(ui.boxes.back().text, "Bad comp. ID");
  EXPECT_EQ(CheckSelectPilot(ui, {"", "y", ""}, none, std::nullopt), std::nullopt);
  EXPECT_EQ(ui.boxes.back().text, "Bad CIVL ID");
  // Both empty: asked, and the empty queue answers Cancel.
  EXPECT_EQ(CheckSelectPilot(ui, {"", "", "A"}, none, std::nullopt), std::nullopt);
  EXPECT_EQ(ui.questions.back().text, "Both IDs missing, continue ?");
  ui.QueueAnswer(Answer::Ok);
  EXPECT_EQ(CheckSelectPilot(ui, {"", "", "A"}, none, std::nullopt), (ChosenPilot{-1, -1, "A"}));
  EXPECT_EQ(SelectPilotTitle("/dev/ttyS0", ""), "Select pilot (/dev/ttyS0)");
}

}  // namespace
}  // namespace trelvik
