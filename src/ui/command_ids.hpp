#pragma once
// Command ids of the main window. Instrument commands keep the ids the quick
// buttons and the remote interfaces know; the window's own commands live from
// 42000 on, clear of them.

#include "instruments/instrument_command_ids.hpp"

namespace trelvik::command {

inline constexpr int kCopyTrackToClipboard = 40083;

// Window commands.
inline constexpr int kViewWaypoints = 42001;
inline constexpr int kViewTrackLog = 42002;
inline constexpr int kViewAirspace = 42003;
inline constexpr int kViewPilotList = 42004;
inline constexpr int kSelectAll = 42005;
inline constexpr int kSmallListSize = 42006;
inline constexpr int kDefaultListSize = 42007;
inline constexpr int kLargeListSize = 42008;
inline constexpr int kShowTrack = 42009;
inline constexpr int kFont = 42010;
inline constexpr int kTest = 42011;
inline constexpr int kDumpDebugData = 42012;
inline constexpr int kClearDebugData = 42013;
inline constexpr int kAbout = 42014;
inline constexpr int kExit = 42015;
inline constexpr int kCalculateDistance = 42016;
inline constexpr int kCoordinateConversion = 42017;
inline constexpr int kSaveLogButton = 42018;  // "Save log (Flight Data)" button, Ctrl+S
inline constexpr int kToggleCompSpecial = 42019;

// Commands owned by other subsystems; their menu entries stay disabled until
// the window has a handler for them.
inline constexpr int kSaveLogFlightLog = 42100;
inline constexpr int kSaveLogAs = 42101;
inline constexpr int kOpenLog = 42102;
inline constexpr int kSaveLogAnimation = 42103;
inline constexpr int kSaveLogIgc = 42104;
inline constexpr int kSaveIgcFromGps = 42105;
inline constexpr int kVerifyIgc = 42106;
inline constexpr int kAddIgcToCompOut = 42107;
inline constexpr int kSavePilotListCsv = 42108;
inline constexpr int kConvertIgcToKml = 42109;
inline constexpr int kConvertKmlToIgc = 42115;
inline constexpr int kCsvParameters = 42116;
inline constexpr int kSaveWaypointsAs = 42110;
inline constexpr int kOpenWaypoints = 42111;
inline constexpr int kNewWaypoint = 42112;
inline constexpr int kEditWaypoint = 42113;
inline constexpr int kDeleteWaypoints = 42114;
inline constexpr int kReadCtrFile = 42120;
inline constexpr int kWriteCtrFile = 42121;
inline constexpr int kWriteCtrGpx = 42122;
inline constexpr int kWriteCtrGoogleApi = 42123;
inline constexpr int kEditCtr = 42124;
inline constexpr int kNewCtr = 42125;
inline constexpr int kDeleteCtrs = 42126;
inline constexpr int kShowCtrAsWaypoints = 42127;
inline constexpr int kSetCtrAccuracy = 42128;
inline constexpr int kSpeedFilter = 42130;
inline constexpr int kTimestampFilter = 42131;
inline constexpr int kFiltersDuringDownload = 42132;
inline constexpr int kVarioFilter = 42133;
inline constexpr int kGapFilterTime = 42134;
inline constexpr int kRotateTrack = 42135;
inline constexpr int kLoopFlightGap = 42136;
inline constexpr int kOlcFromIgcBuffer = 42137;
inline constexpr int kOlcFromSelection = 42138;
inline constexpr int kShowVario = 42139;
inline constexpr int kShowGlide = 42140;
inline constexpr int kShowPolar = 42141;
inline constexpr int kUsbCompCheckWaypoints = 42150;
inline constexpr int kPowerOffAfterWaypointsAndLog = 42151;
inline constexpr int kPowerOffAfterLog = 42152;
inline constexpr int kSetComPort = 42160;
inline constexpr int kServer = 42161;
inline constexpr int kCompetitionMode = 42162;

}  // namespace trelvik::command
