// The dialogs' logic: fields, messages, the statistics worker and the rotation.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "analysis/filter_settings.hpp"
#include "analysis/generated_tracks.hpp"
#include "analysis/rotate_track.hpp"
#include "analysis/statistics_dialog.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::PointAt;
using testing::RecordedBox;
using testing::ScriptedUserInterface;

struct FieldCase {
  const char* name;
  const char* field;
  std::optional<int32_t> value;
  std::vector<RecordedBox> boxes;
};

class LoopGapField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(LoopGapField, ReadsAWholeNumberOrSaysWhyNot) {
  ScriptedUserInterface ui;
  EXPECT_EQ(ReadLoopGapField(ui, GetParam().field), GetParam().value);
  EXPECT_EQ(ui.boxes, GetParam().boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LoopGapField,
    ::testing::Values(FieldCase{"Number", " 1200 ", 1200, {}}, FieldCase{"Zero", "0", 0, {}},
                      FieldCase{"Empty", "", std::nullopt, {{MessageKind::Error, "Missing input", "Set gap distance"}}},
                      FieldCase{"Blanks", "   ", std::nullopt, {{MessageKind::Error, "Missing input", "Set gap distance"}}},
                      FieldCase{"Letters", "8OO", std::nullopt, {{MessageKind::Error, "Bad input", "Set gap distance"}}},
                      FieldCase{"Negative", "-5", std::nullopt, {{MessageKind::Error, "Bad input", "Set gap distance"}}}),
    [](const auto& info) { return info.param.name; });

class VarioField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(VarioField, EmptyMeansOff) {
  ScriptedUserInterface ui;
  EXPECT_EQ(ReadVarioFilterField(ui, GetParam().field), GetParam().value);
  EXPECT_EQ(ui.boxes, GetParam().boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, VarioField,
    ::testing::Values(FieldCase{"Number", "8", 8, {}}, FieldCase{"Empty", "", 0, {}},
                      FieldCase{"Letters", "x", std::nullopt, {{MessageKind::Error, "Bad input", "Set vario filter"}}}),
    [](const auto& info) { return info.param.name; });

TEST(FilterSettings, FieldTextsAndCheckMark) {
  EXPECT_EQ(LoopGapFieldText(800), "800");
  EXPECT_EQ(VarioFilterFieldText(0), "0");
  EXPECT_EQ(TrackGapFieldText(1200), "20");
  EXPECT_FALSE(VarioFilterChecked(0));
  EXPECT_TRUE(VarioFilterChecked(4));
}

TEST(FilterSettings, TrackGapFieldIsMinutesAndSilentWhenUnreadable) {
  EXPECT_EQ(ReadTrackGapField("25"), 1500);
  EXPECT_EQ(ReadTrackGapField(""), std::nullopt);
  EXPECT_EQ(ReadTrackGapField("1h"), std::nullopt);
}

std::vector<TrackPoint> EvenFlight(int count) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < count; ++i) points.push_back(PointAt(10.0 * i, 0, i, 10000));
  return points;
}

TEST(DownloadFilters, RunInOrderAndReportWhatWentAway) {
  std::vector<TrackPoint> points = EvenFlight(40);
  points[5].time -= 100;          // a time reversal
  points[12].gpsAlt += 1000000;   // a vario spike
  ScriptedUserInterface ui;
  const DownloadFilterSettings settings{.downloadFilter = true, .timestampFilter = true, .varioFilter = 10};
  EXPECT_EQ(ApplyDownloadFilters(ui, points, settings), 38);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Information, "2 points removed by filter(s)", "Analyze track"}}));
}

TEST(DownloadFilters, OffOrNothingRemovedSaysNothing) {
  std::vector<TrackPoint> points = EvenFlight(40);
  points[5].time -= 100;
  ScriptedUserInterface ui;
  EXPECT_EQ(ApplyDownloadFilters(ui, points, {.downloadFilter = false, .timestampFilter = true}), 40);
  std::vector<TrackPoint> clean = EvenFlight(40);
  EXPECT_EQ(ApplyDownloadFilters(ui, clean, {.downloadFilter = true, .noCheck = true}), 40);
  EXPECT_TRUE(ui.boxes.empty());
}

struct PrepareCase {
  const char* name;
  int points;
  int varioSpikes;
  bool proceed;
  std::vector<RecordedBox> boxes;
};

class PrepareStatistics : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareStatistics, ChecksAndFiltersTheSelection) {
  std::vector<TrackPoint> points = EvenFlight(GetParam().points);
  for (int i = 0; i < GetParam().varioSpikes; ++i) points[3 + 2 * i].gpsAlt += 1000000;
  ScriptedUserInterface ui;
  EXPECT_EQ(PrepareStatisticsPoints(ui, points, {.varioFilter = 10}), GetParam().proceed);
  EXPECT_EQ(ui.boxes, GetParam().boxes);
}

constexpr const char* kInit = "Initialize track statistics dialog box";
INSTANTIATE_TEST_SUITE_P(
    Cases, PrepareStatistics,
    ::testing::Values(
        PrepareCase{"Enough", 30, 0, true, {}},
        PrepareCase{"Nothing", 0, 0, false, {{MessageKind::Error, "No position(s) selected", kInit}}},
        PrepareCase{"Nine", 9, 0, false, {{MessageKind::Error, "Too few positions selected", kInit}}},
        PrepareCase{"VarioSpikes", 30, 2, true,
                    {{MessageKind::Information, "2 positions have been removed due to vario filtering", kInit}}}),
    [](const auto& info) { return info.param.name; });

TEST(PrepareStatistics, SpeedAnalysisThatRemovesOrEmpties) {
  std::vector<TrackPoint> spiked = EvenFlight(30);
  spiked[20].lat += 20000000;
  ScriptedUserInterface ui;
  EXPECT_TRUE(PrepareStatisticsPoints(ui, spiked, {}));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{
                          {MessageKind::Information, "Position(s) have been removed during track speed analysis", kInit}}));
  std::vector<TrackPoint> jumpy = EvenFlight(41);
  for (int i = 5; i < 41; i += 5) jumpy[i].lat += 20000000 * (i % 2 ? 1 : -1);
  ScriptedUserInterface ui2;
  EXPECT_FALSE(PrepareStatisticsPoints(ui2, jumpy, {}));
  EXPECT_EQ(ui2.boxes, (std::vector<RecordedBox>{
                           {MessageKind::Error, "Too few positions left after track speed analysis", kInit}}));
}

// How soon a halt takes effect is a figure of the optimisation benchmark.
TEST(StatisticsComputation, HaltStopsTheWorstCaseAndSaveWaits) {
  ScriptedUserInterface status;
  StatisticsComputation run;
  std::atomic<int> finishedCode{1};
  ASSERT_TRUE(run.Start(testing::FlightWithinDisc(20000, 390, 5), {.engine = CoarseEngine::Plain}, &status,
                        [&finishedCode](int code, const OptimisationResult&) { finishedCode = code; }));
  ScriptedUserInterface saver;
  EXPECT_FALSE(run.CheckSaveAllowed(saver));
  EXPECT_EQ(saver.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "Statistics not yet finished", "Save track log"}}));
  // Wait until the (reference, cubic) triangle search runs, then halt.
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(status.mutex);
      if (!status.statusLines.empty() && status.statusLines.back() == "Computing triangle distance") break;
    }
    ASSERT_FALSE(run.IsFinished());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  run.Halt(&status);
  while (!run.IsFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  run.Close();
  EXPECT_EQ(finishedCode, 0);
  EXPECT_EQ(run.Result().flatTriangle, TriangleResult{});
  EXPECT_GT(run.Result().fivePoints.total, 0);
  EXPECT_TRUE(run.CheckSaveAllowed(saver));
  std::lock_guard<std::mutex> lock(status.mutex);
  EXPECT_NE(std::find(status.statusLines.begin(), status.statusLines.end(), "Computation halted"),
            status.statusLines.end());
}

TEST(StatisticsComputation, CloseWhileRunningWaitsForTheWorker) {
  StatisticsComputation run;
  ASSERT_TRUE(run.Start(testing::FlightWithinDisc(5000, 390, 6), {}, nullptr, {}));
  run.Close();
  EXPECT_TRUE(run.IsFinished());
}

struct RotateCheckCase {
  const char* name;
  bool loaded;
  int32_t selected;
  std::vector<Answer> answers;
  bool proceed;
  std::vector<RecordedBox> boxes;
};

class RotateCheck : public ::testing::TestWithParam<RotateCheckCase> {};

TEST_P(RotateCheck, RefusesOrAsks) {
  ScriptedUserInterface ui;
  for (const Answer a : GetParam().answers) ui.QueueAnswer(a);
  EXPECT_EQ(CheckRotateSelection(ui, GetParam().loaded, GetParam().selected), GetParam().proceed);
  EXPECT_EQ(ui.boxes, GetParam().boxes);
  if (GetParam().selected == 1) {
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Only one position selected, continue ?");
    EXPECT_EQ(ui.questions[0].caption, "Rotate track log");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RotateCheck,
    ::testing::Values(RotateCheckCase{"NotLoaded", false, 0, {}, false, {{MessageKind::Error, "No positions loaded", "Rotate track log"}}},
                      RotateCheckCase{"NoneSelected", true, 0, {}, false,
                                      {{MessageKind::Error, "No position(s) selected", "Rotate track log"}}},
                      RotateCheckCase{"OneSelectedOk", true, 1, {Answer::Ok}, true, {}},
                      RotateCheckCase{"OneSelectedCancel", true, 1, {Answer::Cancel}, false, {}},
                      RotateCheckCase{"Many", true, 5, {}, true, {}}),
    [](const auto& info) { return info.param.name; });

struct RotateFieldCase {
  const char* name;
  RotateTrackFields fields;
  const char* message;  // nullptr: accepted
};

class RotateFields : public ::testing::TestWithParam<RotateFieldCase> {};

TEST_P(RotateFields, ReadInOrder) {
  ScriptedUserInterface ui;
  const auto positions = ReadRotateFields(ui, GetParam().fields);
  if (GetParam().message == nullptr) {
    EXPECT_TRUE(positions.has_value());
    EXPECT_TRUE(ui.boxes.empty());
  } else {
    EXPECT_FALSE(positions.has_value());
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, GetParam().message, "Decode position"}}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RotateFields,
    ::testing::Values(RotateFieldCase{"Good", {"N 46 00 00", "E 8", "46.5", "8.5"}, nullptr},
                      RotateFieldCase{"MissingStartLat", {"", "8", "46", "8"}, "Missing start latitude input"},
                      RotateFieldCase{"BadStartLat", {"N 95", "8", "46", "8"}, "Bad start latitude input"},
                      RotateFieldCase{"MissingStartLon", {"46", " ", "46", "8"}, "Missing start longitude input"},
                      RotateFieldCase{"BadStartLon", {"46", "E 8 61", "46", "8"}, "Bad start longitude input"},
                      RotateFieldCase{"MissingEndLat", {"46", "8", "", "8"}, "Missing end latitude input"},
                      RotateFieldCase{"BadEndLat", {"46", "8", "x", "8"}, "Bad end latitude input"},
                      RotateFieldCase{"MissingEndLon", {"46", "8", "46", ""}, "Missing end longitude input"},
                      RotateFieldCase{"BadEndLon", {"46", "8", "46", "W 180"}, "Bad end longitude input"},
                      RotateFieldCase{"TooClose", {"46", "8", "46 00 00.5", "8 00 00.5"}, "Positions are too close"}),
    [](const auto& info) { return info.param.name; });

TEST(RotateTrack, EndDueNorthOfTheStartLandsOnTheEquatorEastOfZero) {
  const RotatePositions positions{{0.8, 0.14}, {0.81, 0.14}};
  std::vector<TrackPoint> points(2);
  points[0].lat = RadiansToSemicircle(0.8);
  points[0].lon = RadiansToSemicircle(0.14);
  points[1].lat = RadiansToSemicircle(0.81);
  points[1].lon = RadiansToSemicircle(0.14);
  RotatePoints(points, positions);
  EXPECT_NEAR(SemicircleToRadians(points[0].lat), 0, 1e-8);
  EXPECT_NEAR(SemicircleToRadians(points[0].lon), 0, 1e-8);
  EXPECT_NEAR(SemicircleToRadians(points[1].lat), 0, 1e-8);
  EXPECT_NEAR(SemicircleToRadians(points[1].lon), 0.01, 1e-8);
}

TEST(RotateTrack, InstallingReplacesPointsAndClearsTheDescription) {
  TrackLog log;
  log.description = "Flytec 5020";
  log.points = EvenFlight(3);
  InstallRotatedTrack(log, EvenFlight(2));
  EXPECT_EQ(log.Count(), 2);
  EXPECT_TRUE(log.description.empty());
}

}  // namespace
}  // namespace trelvik
