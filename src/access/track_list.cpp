#include "access/track_list.hpp"

#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

bool EntryFilled(const GpsJob& job, int entry) {
  return entry >= 0 && entry < kFlightListSize && job.flightList[static_cast<size_t>(entry)].start != 0;
}

}  // namespace

void ClearTrackSelection(GpsJob& job) { job.trackSelection.fill(0); }

void SelectTrack(GpsJob& job, int entry) {
  if (entry < 0 || entry >= kFlightListSize) return;
  job.trackSelection[static_cast<size_t>(entry / 32)] |= 1u << (entry % 32);
}

bool TrackSelected(const GpsJob& job, int entry) {
  if (entry < 0 || entry >= kFlightListSize) return false;
  return (job.trackSelection[static_cast<size_t>(entry / 32)] >> (entry % 32)) & 1u;
}

int SelectFromCommandLine(GpsJob& job, std::span<const int32_t> trackList) {
  if (trackList.empty() || trackList[0] < 0) return -1;
  ClearTrackSelection(job);
  for (int32_t entry : trackList) {
    if (EntryFilled(job, entry)) SelectTrack(job, entry);
  }
  return 0;
}

int SelectFromCommandLine(GpsJob& job) {
  if (job.commandLine == nullptr) return -1;
  return SelectFromCommandLine(job, job.commandLine->trackList);
}

TrackListQuestion MakeTrackListQuestion(const GpsJob& job) {
  TrackListQuestion question;
  question.title = "Track List (" + job.portName + ", " + job.modelName + ")";
  question.note = "Multiple track selection is not available on all GPS types.";
  question.columnHeads = {"No.", "Date", "Time", "Duration"};
  for (int entry = 0; entry < kFlightListSize; ++entry) {
    if (!EntryFilled(job, entry)) continue;
    const FlightListEntry& flight = job.flightList[static_cast<size_t>(entry)];
    const SystemTime start = DateFromTrackTime(flight.start);
    const uint32_t d = flight.duration;
    question.lines.push_back(CFormat("%02d   %d-%02d-%02d   %02d:%02d:%02d   %u:%02u:%02u", entry + 1, start.year,
                                     start.month, start.day, start.hour, start.minute, start.second, d / 3600,
                                     d / 60 % 60, d % 60));
    question.lineNumbers.push_back(entry + 1);
    question.flights.assign(job.flightList.begin(), job.flightList.begin() + entry + 1);
  }
  return question;
}

int ShowTrackListDialog(GpsJob& job) {
  if (job.trackListChooser == nullptr) return 0;
  const TrackListQuestion question = MakeTrackListQuestion(job);
  const std::optional<std::vector<int>> chosen = job.trackListChooser->ChooseTracks(question);
  if (!chosen || chosen->empty()) return 0;
  ClearTrackSelection(job);
  for (int line : *chosen) {
    if (line >= 0 && static_cast<size_t>(line) < question.lineNumbers.size()) {
      SelectTrack(job, question.lineNumbers[static_cast<size_t>(line)] - 1);
    }
  }
  return 1;
}

std::string FlightListText(const GpsJob& job) {
  std::string text;
  for (int entry = 0; entry < kFlightListSize; ++entry) {
    if (!EntryFilled(job, entry)) continue;
    const FlightListEntry& flight = job.flightList[static_cast<size_t>(entry)];
    const SystemTime start = DateFromTrackTime(flight.start);
    const uint32_t d = flight.duration;
    text += CFormat("%02d.%02d.%02d,%02d:%02d:%02d,%u:%02u:%02u\n", start.year, start.month, start.day, start.hour,
                    start.minute, start.second, d / 3600, d / 60 % 60, d % 60);
  }
  return text.empty() ? text : "Flightlist:\n" + text;
}

int SendFlightListText(GpsJob& job) {
  const std::string text = FlightListText(job);
  if (text.empty()) return -1;
  NotifyText(job, text);
  return 0;
}

}  // namespace trelvik
