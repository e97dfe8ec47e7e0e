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

TrackStores& TrackStores::Instance() {
  static TrackStores stores;
  return stores;
}

}  // namespace trelvik
