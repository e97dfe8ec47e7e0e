// Waypoints: the two waypoint pages read record by record, and the upload
// that puts new waypoints in front of the ones the instrument holds.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/line_collector.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/leonardo/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::leonardo {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAckWait{2000};
constexpr uint32_t kStatusInterval = 1000;  // ms between upload status lines
constexpr int kSlots = 2 * kWaypointsPerPage;
constexpr int kReadsPerStatus = 19;
constexpr int kLastOfFirstPage = kWaypointsPerPage - 1;

int FirstPage(const GpsJob& job) {
  return job.competitionCheck || job.option == 1 ? kCompetitionWaypointPage : kUserWaypointPage;
}

// Every slot of both pages, in order; `status` counts down from 10 every 19 reads.
int ReadSlots(GpsJob& job, std::string_view status, std::vector<std::vector<uint8_t>>& slots) {
  const int first = FirstPage(job);
  slots.clear();
  for (int slot = 0; slot < kSlots; ++slot) {
    if (slot % kReadsPerStatus == 0) ShowProgress(job, FormatProgress(status, 10 - slot / kReadsPerStatus));
    std::vector<uint8_t> record;
    const int code = ReadLeonardoMemory(job, kWaypointMemory, first + slot / kWaypointsPerPage,
                                        slot % kWaypointsPerPage * kWaypointRecord, kWaypointRecord, record);
    if (code < 0) return code;
    slots.push_back(std::move(record));
  }
  return 0;
}

// Waits for the instrument's acknowledgement of one write.
bool WriteAcknowledged(GpsJob& job) {
  LineCollector collector(40);
  bool good = false;
  (void)ReadLoop(job, kAckWait, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (!collector.Feed(c)) continue;
      good = collector.Line() == kWriteAck.substr(0, kWriteAck.size() - 2);
      return false;
    }
    return true;
  });
  return good;
}

}  // namespace

int DownloadLeonardoWaypoints(GpsJob& job, bool checkOnly) {
  constexpr const char* kCaption = "Read GPS waypoints";
  std::vector<std::vector<uint8_t>> slots;
  if (const int code = ReadSlots(job, "Reading waypoints (%)", slots); code < 0) {
    if (code == -11) return EndAborted(job);
    ReportError(job, FormatProgress("Error % reading waypoint data", -code), kCaption);
    return -1;
  }
  const TrackTime now = JobUtcNow(job);
  std::vector<Waypoint> waypoints;
  for (const std::vector<uint8_t>& slot : slots) {
    const std::optional<Waypoint> waypoint = DecodeWaypoint(slot, now);
    if (!waypoint) continue;
    if (checkOnly) {
      CheckCompetitionWaypoint(job, *waypoint);
      continue;
    }
    waypoints.push_back(*waypoint);
    NotifyWaypointCount(job, static_cast<int>(waypoints.size()));
  }
  if (checkOnly) return 0;
  ShowProgress(job, FormatProgress("% waypoints received", static_cast<int64_t>(waypoints.size())));
  if (waypoints.empty()) return -1;
  job.waypoints = std::move(waypoints);
  return 0;
}

int UploadLeonardoWaypoints(GpsJob& job) {
  constexpr const char* kCaption = "Send GPS waypoints";
  std::vector<std::vector<uint8_t>> slots;
  if (const int code = ReadSlots(job, "Reading current waypoints (%)", slots); code < 0) {
    if (code == -11) return EndAborted(job);
    ReportError(job, FormatProgress("Error % reading waypoint data", -code), kCaption);
    return -1;
  }
  std::vector<std::vector<uint8_t>> held;
  size_t usedEnd = 0;  // one past the last slot in use
  for (size_t i = 0; i < slots.size(); ++i) {
    if (!SlotUsed(slots[i])) continue;
    held.push_back(std::move(slots[i]));
    usedEnd = i + 1;
  }
  if (held.size() >= static_cast<size_t>(kSlots)) {
    ReportError(job, "Waypoint buffer in GPS full", kCaption);
    return -1;
  }
  const size_t room = static_cast<size_t>(kSlots) - held.size();
  const size_t fresh = job.waypoints.size() < room ? job.waypoints.size() : room;
  std::vector<std::vector<uint8_t>> records;
  for (size_t i = 0; i < fresh; ++i) {
    const auto record = EncodeWaypoint(job.waypoints[i]);
    records.emplace_back(record.begin(), record.end());
  }
  records.insert(records.end(), held.begin(), held.end());
  const int total = static_cast<int>(records.size());
  // Slots the compaction emptied are cleared, so that no waypoint stays
  // behind as a copy of one that moved down.
  while (records.size() < usedEnd) records.emplace_back(kWaypointRecord, 0xFF);
  const int written = static_cast<int>(records.size());
  const int first = FirstPage(job);
  int errors = 0;
  uint32_t lastStatus = JobTick(job) - kStatusInterval;
  for (int i = 0; i < written;) {
    const int count = i + 1 < written && i != kLastOfFirstPage ? 2 : 1;
    std::vector<uint8_t> bytes = records[static_cast<size_t>(i)];
    if (count == 2)
      bytes.insert(bytes.end(), records[static_cast<size_t>(i + 1)].begin(), records[static_cast<size_t>(i + 1)].end());
    if (JobAborted(job) ||
        WriteText(job, PDGFWMM(first + i / kWaypointsPerPage, i % kWaypointsPerPage * kWaypointRecord, bytes)) < 0) {
      ShowProgress(job, FormatProgress("% waypoints sent", i < total ? i : total));
      return -1;
    }
    if (!WriteAcknowledged(job)) ++errors;
    i += count;
    if (JobTick(job) - lastStatus >= kStatusInterval) {
      lastStatus = JobTick(job);
      const int sent = i < total ? i : total;
      ShowProgress(job, FormatProgress("Waypoint % of % sent", sent, total));
      NotifyText(job, FormatProgress("Sent wpt %/%", sent, total));
    }
  }
  const std::string summary =
      FormatProgress("% wpts sent (% new, % errors)", total, static_cast<int64_t>(fresh), errors);
  ShowProgress(job, summary);
  NotifyText(job, FormatProgress("Sent wpt %/%", total, total));
  // Records the instrument did not acknowledge may not be in its memory.
  if (errors > 0) {
    ReportError(job, summary, kCaption);
    return -1;
  }
  // Waypoints beyond the free slots are named, never dropped silently.
  if (fresh < job.waypoints.size()) {
    ReportError(job,
                FormatProgress("% waypoints not sent: waypoint buffer in GPS full",
                               static_cast<int64_t>(job.waypoints.size() - fresh)),
                kCaption);
    return -1;
  }
  return 0;
}

int DownloadWaypoints(GpsJob& job) {
  if (RequestLeonardoIdentity(job) < 0) return -1;
  return DownloadLeonardoWaypoints(job, false);
}

int UploadWaypoints(GpsJob& job) {
  if (RequestLeonardoIdentity(job) < 0) return -1;
  return UploadLeonardoWaypoints(job);
}

}  // namespace trelvik::leonardo
