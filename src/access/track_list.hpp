#pragma once
// Choosing flights from an instrument's flight list: from the command line's
// TRACK values, from the "Track List" question, or not at all (the list sent
// as text to the program that started the run).
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "access/gps_job.hpp"

namespace trelvik {

// One "Track List" question as the window's dialog or the console shows it.
struct TrackListQuestion {
  std::string title;
  std::string note;  // fixed text above the list
  std::vector<std::string> columnHeads;
  std::vector<std::string> lines;
  std::vector<int> lineNumbers;  // the number each line shows, for typed choices
  bool multipleSelection = true;
  bool allButton = true;  // "&All": every line, as OK would
  int preselected = 0;    // line selected when the question opens
  // The flight list behind the lines: every entry up to the last one with a
  // start time, empty ones included, for a chooser that sends it as it is.
  std::vector<FlightListEntry> flights;
};

class TrackListChooser {
 public:
  virtual ~TrackListChooser() = default;
  // The indices of the chosen lines (OK or "&All"); nothing on Cancel or close.
  virtual std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) = 0;
};

void ClearTrackSelection(GpsJob& job);
void SelectTrack(GpsJob& job, int entry);
bool TrackSelected(const GpsJob& job, int entry);

// With a TRACK list (its first slot not negative): clears the selection, sets
// every listed entry 0..99 that is not empty, returns 0. Without one: -1.
[[nodiscard]] int SelectFromCommandLine(GpsJob& job, std::span<const int32_t> trackList);
// The same with the job's own command-line values.
[[nodiscard]] int SelectFromCommandLine(GpsJob& job);

// The "Track List" question for the job's flight list.
TrackListQuestion MakeTrackListQuestion(const GpsJob& job);
// Asks job.trackListChooser; 1 when a selection was made (and stored), 0 on
// Cancel, on an empty choice, or with nobody to ask.
[[nodiscard]] int ShowTrackListDialog(GpsJob& job);

// "Flightlist:\n" and one line per non-empty entry; empty when there is none.
std::string FlightListText(const GpsJob& job);
// Sends FlightListText with NotifyText: 0, or -1 (nothing sent) without entries.
[[nodiscard]] int SendFlightListText(GpsJob& job);

// The question on a terminal, or, without one, the preselected line taken as
// OK would, with "Track List: 1 taken" on the error stream.
class ConsoleTrackListChooser : public TrackListChooser {
 public:
  ConsoleTrackListChooser(FILE* out, FILE* err, FILE* in, bool interactive);
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override;

 private:
  FILE* out_;
  FILE* err_;
  FILE* in_;
  bool interactive_;
};

}  // namespace trelvik
