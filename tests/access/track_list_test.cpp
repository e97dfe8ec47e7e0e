#include "access/track_list.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "access/notifier.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

TrackTime At(int year, int month, int day, int hour, int minute, int second) {
  SystemTime date;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  date.hour = static_cast<uint16_t>(hour);
  date.minute = static_cast<uint16_t>(minute);
  date.second = static_cast<uint16_t>(second);
  return TrackTimeFromDate(date);
}

// Entries 0 and 2 filled, 1 empty.
void FillTwoFlights(GpsJob& job) {
  job.portName = "/dev/ttyUSB0";
  job.modelName = "COMPEO";
  job.flightList[0] = {At(2024, 7, 3, 10, 5, 9), 2 * 3600 + 3 * 60 + 4};
  job.flightList[2] = {At(2024, 7, 1, 9, 0, 0), 25 * 3600};
}

std::vector<int> Selected(const GpsJob& job) {
  std::vector<int> entries;
  for (int k = 0; k < kFlightListSize; ++k) {
    if (TrackSelected(job, k)) entries.push_back(k);
  }
  return entries;
}

struct SelectCase {
  std::vector<int32_t> trackList;
  int result;
  std::vector<int> selected;
};

class SelectFromCommandLineTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectFromCommandLineTest, SetsOnlyListedFilledEntries) {
  GpsJob job;
  FillTwoFlights(job);
  SelectTrack(job, 50);  // an earlier selection is cleared
  TrackListValues values = EmptyTrackList();
  std::copy(GetParam().trackList.begin(), GetParam().trackList.end(), values.begin());
  EXPECT_EQ(SelectFromCommandLine(job, values), GetParam().result);
  if (GetParam().result == 0) {
    EXPECT_EQ(Selected(job), GetParam().selected);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectFromCommandLineTest,
                         ::testing::Values(SelectCase{{0, 2}, 0, {0, 2}},
                                           SelectCase{{2, 100, -1, 1}, 0, {2}},  // 100 and the empty entry set nothing
                                           SelectCase{{1}, 0, {}},              // an empty selection
                                           SelectCase{{}, -1, {}}));            // no list at all

TEST(SelectFromCommandLineTest, WithoutACommandLineRunThereIsNoSelection) {
  GpsJob job;
  FillTwoFlights(job);
  EXPECT_EQ(SelectFromCommandLine(job), -1);
  CommandLineValues commandLine;
  commandLine.trackList[0] = 2;
  job.commandLine = &commandLine;
  EXPECT_EQ(SelectFromCommandLine(job), 0);
  EXPECT_EQ(Selected(job), std::vector<int>{2});
}

TEST(TrackListQuestionTest, NumbersCountEmptyEntriesAndDurationsPassADay) {
  GpsJob job;
  FillTwoFlights(job);
  const TrackListQuestion question = MakeTrackListQuestion(job);
  EXPECT_EQ(question.title, "Track List (/dev/ttyUSB0, COMPEO)");
  EXPECT_EQ(question.note, "Multiple track selection is not available on all GPS types.");
  EXPECT_EQ(question.columnHeads, (std::vector<std::string>{"No.", "Date", "Time", "Duration"}));
  EXPECT_EQ(question.lines, (std::vector<std::string>{"01   2024-07-03   10:05:09   2:03:04",
                                                      "03   2024-07-01   09:00:00   25:00:00"}));
  EXPECT_EQ(question.preselected, 0);
  // The entries behind the lines, the empty one between them included.
  ASSERT_EQ(question.flights.size(), 3u);
  EXPECT_EQ(question.flights[0].start, job.flightList[0].start);
  EXPECT_EQ(question.flights[1].start, 0u);
  EXPECT_EQ(question.flights[2].duration, job.flightList[2].duration);
}

class ScriptedChooser : public TrackListChooser {
 public:
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
    asked = question.lines.size();
    return answer;
  }
  std::optional<std::vector<int>> answer;
  size_t asked = 0;
};

TEST(ShowTrackListDialogTest, ChosenLinesBecomeTheirEntries) {
  GpsJob job;
  FillTwoFlights(job);
  ScriptedChooser chooser;
  job.trackListChooser = &chooser;
  chooser.answer = std::vector<int>{1};
  EXPECT_EQ(ShowTrackListDialog(job), 1);
  EXPECT_EQ(Selected(job), std::vector<int>{2});
  chooser.answer = std::vector<int>{0, 1};  // "&All"
  EXPECT_EQ(ShowTrackListDialog(job), 1);
  EXPECT_EQ(Selected(job), (std::vector<int>{0, 2}));
}

TEST(ShowTrackListDialogTest, CancelOrNothingSelectedGivesZero) {
  GpsJob job;
  FillTwoFlights(job);
  EXPECT_EQ(ShowTrackListDialog(job), 0);  // nobody to ask
  ScriptedChooser chooser;
  job.trackListChooser = &chooser;
  EXPECT_EQ(ShowTrackListDialog(job), 0);
  chooser.answer = std::vector<int>{};
  EXPECT_EQ(ShowTrackListDialog(job), 0);
}

// Runs the console chooser on files standing in for the terminal.
struct ConsoleRun {
  std::optional<std::vector<int>> chosen;
  std::string err;
};

ConsoleRun RunConsole(bool interactive, const std::string& typed) {
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  FILE* in = std::tmpfile();
  std::fputs(typed.c_str(), in);
  std::rewind(in);
  ConsoleTrackListChooser chooser(out, err, in, interactive);
  ConsoleRun run;
  GpsJob job;
  FillTwoFlights(job);
  run.chosen = chooser.ChooseTracks(MakeTrackListQuestion(job));
  std::rewind(err);
  char buffer[1024];
  const size_t n = std::fread(buffer, 1, sizeof buffer, err);
  run.err.assign(buffer, n);
  std::fclose(out);
  std::fclose(err);
  std::fclose(in);
  return run;
}

TEST(ConsoleTrackListChooserTest, WithoutATerminalTakesTheFirstLine) {
  const ConsoleRun run = RunConsole(false, "");
  EXPECT_EQ(run.chosen, std::vector<int>{0});
  EXPECT_EQ(run.err, "Track List: 1 taken\n");
}

TEST(ConsoleTrackListChooserTest, OnATerminalReadsTheShownNumbers) {
  EXPECT_EQ(RunConsole(true, "3\n").chosen, std::vector<int>{1});
  EXPECT_EQ(RunConsole(true, "1, 3\n").chosen, (std::vector<int>{0, 1}));
  EXPECT_EQ(RunConsole(true, "a\n").chosen, (std::vector<int>{0, 1}));
  EXPECT_EQ(RunConsole(true, "\n").chosen, std::vector<int>{0});
  EXPECT_EQ(RunConsole(true, "c\n").chosen, std::nullopt);
  EXPECT_EQ(RunConsole(true, "").chosen, std::nullopt);           // end of input
  EXPECT_EQ(RunConsole(true, "2\n3\n").chosen, std::vector<int>{1});  // 2 is no line: asked again
}

class RecordingSink : public NotifySink {
 public:
  bool Send(std::string_view datagram) override {
    texts.emplace_back(datagram.substr(4));
    return true;
  }
  std::vector<std::string> texts;
};

TEST(SendFlightListTextTest, OneLinePerFlightInEntryOrder) {
  RecordingSink sink;
  Notifier notifier(sink, 1, [] { return 0u; });
  GpsJob job;
  FillTwoFlights(job);
  job.notifier = &notifier;
  EXPECT_EQ(SendFlightListText(job), 0);
  EXPECT_EQ(sink.texts, std::vector<std::string>{
                            "Flightlist:\n2024.07.03,10:05:09,2:03:04\n2024.07.01,09:00:00,25:00:00\n"});
}

TEST(SendFlightListTextTest, EmptyListSendsNothing) {
  RecordingSink sink;
  Notifier notifier(sink, 1, [] { return 0u; });
  GpsJob job;
  job.notifier = &notifier;
  EXPECT_EQ(SendFlightListText(job), -1);
  EXPECT_TRUE(sink.texts.empty());
}

}  // namespace
}  // namespace trelvik
