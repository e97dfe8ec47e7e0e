#pragma once
#include <cstdint>

namespace trelvik {

// Column of the job table: the protocol an instrument speaks. Stored in the
// track log, so it lives with the records.
inline constexpr int kProtocolCount = 19;

enum class ProtocolType : int32_t {
  GarminSerial = 0,
  Mlr = 1,
  TopNav = 2,
  LogIt = 3,
  Flytec = 4,
  Graviter = 5,
  Magellan = 6,
  XcTrainer = 7,
  GarminUsb = 8,
  TopNavMxp = 9,
  XcTrainerMxp = 10,
  FlytecAllTracks = 11,
  Flymaster = 12,
  Dsx = 13,
  MlrFast = 14,       // MLR, fast / Leonardo (MLR)
  MtkLogger = 15,
  IqBasic = 16,       // IQ Basic / Flytec 6015
  Leonardo = 17,      // Digifly Leonardo, new protocol
  MlrTrackOnly = 18,
};

// The kind of instrument a track log came from; 0 for files.
enum class TrackSource : int32_t {
  None = 0,
  Garmin = 1,
  Mlr = 2,
  XcTrainerTopNav = 3,
  LogIt = 4,
  Flytec = 5,
  Graviter = 6,
  Magellan = 7,
  Flymaster = 8,
  Dsx = 9,
  Mtk = 10,
  IqBasic = 11,
  Leonardo = 12,
};

// Instruments by the names a command line's GPS= accepts.
enum class GpsType : int32_t {
  Garmin = 0,
  Mlr = 1,
  TopNav = 2,
  LogIt = 3,
  IqCompeo = 4,
  Graviter = 5,
  Magellan = 6,
  XcTrainer = 7,
  XctMxp = 8,
  Flymaster = 9,
  Dsx = 10,
  Mlrc = 11,
  IqBasic = 12,
  Mtk = 13,
  Leonardo = 14,
};

}  // namespace trelvik
