#include "records/track_stores.hpp"

#include <utility>

namespace trelvik {
namespace {

void ClearRawIgc(TrackLog& log) {
  std::string().swap(log.rawIgc);
  log.rawIgcDate = 0;
  log.rawIgcMaker.clear();
  log.rawIgcSerial = "000";
}

void ClearRawLog(TrackLog& log) { std::string().swap(log.rawLog); }

// Everything ClearTrackLog resets apart from the raw images.
void ClearPoints(TrackLog& log) {
  std::vector<TrackPoint>().swap(log.points);
  log.signable = 0;
  log.saved = 0;
  log.hasPressureAltitude = 0;
}

void ApplyFileLog(TrackLog& log, std::vector<TrackPoint> points, bool utcTimes, bool hasPressureAltitude,
                  const SystemTime& now) {
  log.points = std::move(points);
  log.signable = 0;
  log.source = TrackSource::None;
  log.description.clear();
  log.pilotName.clear();
  log.compId = -1;
  log.civlId = -1;
  log.utcTimes = utcTimes ? 1 : 0;
  log.hasPressureAltitude = hasPressureAltitude ? 1 : 0;
  log.downloadTime = now;
}

}  // namespace

void ClearTrackLog(TrackLog& log) {
  ClearPoints(log);
  ClearRawIgc(log);
  ClearRawLog(log);
}

void InstallFileLog(TrackLog& log, std::vector<TrackPoint> points, bool utcTimes, bool hasPressureAltitude,
                    const SystemTime& now) {
  ClearTrackLog(log);
  ApplyFileLog(log, std::move(points), utcTimes, hasPressureAltitude, now);
}

IgcLoggerId LoggerIdFromARecord(std::string_view igcText) {
  IgcLoggerId id;
  std::size_t lineStart = 0;
  while (lineStart < igcText.size()) {
    std::size_t lineEnd = igcText.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = igcText.size();
    std::string_view line = igcText.substr(lineStart, lineEnd - lineStart);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == 'A') {
      id.maker = std::string(line.substr(1, 3));
      if (line.size() >= 7) id.serial = std::string(line.substr(4, 3));
      break;
    }
    lineStart = lineEnd + 1;
  }
  return id;
}

TrackStores& TrackStores::Instance() {
  static TrackStores stores;
  return stores;
}

void TrackStores::InstallRawIgc(std::string image, TrackTime firstFix, const IgcLoggerId& logger) {
  std::lock_guard lock(rawImageMutex_);
  log_.rawIgc = std::move(image);
  log_.rawIgcDate = firstFix;
  log_.rawIgcMaker = logger.maker;
  log_.rawIgcSerial = logger.serial;
  freshRawIgc_ = true;
}

void TrackStores::InstallRawLog(std::string image) {
  std::lock_guard lock(rawImageMutex_);
  log_.rawLog = std::move(image);
  freshRawLog_ = true;
}

void TrackStores::SetCompetitionIds(int32_t compId, int32_t civlId) {
  std::lock_guard lock(rawImageMutex_);
  log_.compId = compId;
  log_.civlId = civlId;
}

void TrackStores::BeginNewLog() {
  std::lock_guard lock(rawImageMutex_);
  freshRawIgc_ = false;
  freshRawLog_ = false;
}

void TrackStores::InstallDownloadedLog(DownloadedLog downloaded, const SystemTime& now) {
  std::lock_guard lock(rawImageMutex_);
  ClearForInstall();
  log_.points = std::move(downloaded.points);
  log_.signable = downloaded.signable;
  log_.utcTimes = downloaded.utcTimes;
  log_.hasPressureAltitude = downloaded.hasPressureAltitude;
  log_.protocol = downloaded.protocol;
  log_.source = downloaded.source;
  log_.modelName = std::move(downloaded.modelName);
  log_.description = std::move(downloaded.description);
  log_.identity = std::move(downloaded.identity);
  log_.downloadTime = now;
}

void TrackStores::InstallFileLog(std::vector<TrackPoint> points, bool utcTimes, bool hasPressureAltitude,
                                 const SystemTime& now) {
  std::lock_guard lock(rawImageMutex_);
  ClearForInstall();
  ApplyFileLog(log_, std::move(points), utcTimes, hasPressureAltitude, now);
}

void TrackStores::ClearForInstall() {
  // Clearing the whole log would throw away the raw image the driver or reader
  // installed moments ago; an image left from an earlier log must go, though.
  ClearPoints(log_);
  if (!freshRawIgc_) ClearRawIgc(log_);
  if (!freshRawLog_) ClearRawLog(log_);
  freshRawIgc_ = false;
  freshRawLog_ = false;
}

void TrackStores::ClearTrackLog() {
  std::lock_guard lock(rawImageMutex_);
  trelvik::ClearTrackLog(log_);
  freshRawIgc_ = false;
  freshRawLog_ = false;
}

void TrackStores::ReplaceWaypoints(std::vector<Waypoint> waypoints) { waypoints_.waypoints = std::move(waypoints); }

}  // namespace trelvik
