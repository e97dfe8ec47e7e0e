#include "ui/menu_table.hpp"

#include <array>

#include "ui/command_ids.hpp"

namespace trelvik {

namespace {

namespace af = access_function;
using namespace command;

constexpr MenuEntry Sub(const char* text) { return {MenuRow::Submenu, 0, text}; }
constexpr MenuEntry End() { return {MenuRow::End}; }
constexpr MenuEntry Sep() { return {MenuRow::Separator}; }
constexpr MenuEntry Cmd(int id, const char* text, const char* shortcut = nullptr) {
  return {MenuRow::Command, id, text, shortcut};
}
constexpr MenuEntry Check(int id, const char* text) { return {MenuRow::Check, id, text}; }
constexpr MenuEntry Job(int id, const char* text, int function, int protocol, int parameter = 0) {
  return {MenuRow::Command, id, text, nullptr, {function, protocol, parameter}};
}
constexpr MenuEntry Track(int id, const char* text, int protocol, int parameter = 0) {
  return Job(id, text, af::kDownloadTrackLog, protocol, parameter);
}
constexpr MenuEntry ReadWpts(int id, const char* text, int protocol, int parameter = 0) {
  return Job(id, text, af::kDownloadWaypoints, protocol, parameter);
}
constexpr MenuEntry SendWpts(int id, const char* text, int protocol, int parameter = 0) {
  return Job(id, text, af::kUploadWaypoints, protocol, parameter);
}

constexpr auto kMenu = std::to_array<MenuEntry>({
    Sub("&File"),
      Cmd(kOpenLog, "&Open log", "Ctrl+O"),
      Cmd(kSaveLogFlightLog, "&Save log (FlightLog/.kml)"),
      Cmd(kSaveLogAs, "Save log &As..."),
      Cmd(kSaveLogAnimation, "Save log for animation in GE"),
      Sep(),
      Cmd(kSaveLogIgc, "Save log in &IGC format", "Ctrl+I"),
      Cmd(kSaveIgcFromGps, "Save IGC log from &GPS"),
      Cmd(kVerifyIgc, "&Verify IGC log from Trelvik", "Ctrl+V"),
      Check(kAddIgcToCompOut, "Add IGC file to &comp. output"),
      Sep(),
      Cmd(kOpenWaypoints, "Open wpts.", "Ctrl+W"),
      Cmd(kSaveWaypointsAs, "Save &wpts. As..."),
      Cmd(kSavePilotListCsv, "Save pilot list as .csv"),
      Sep(),
      Cmd(kExit, "E&xit"),
    End(),
    Sub("&Track log"),
      Sub("&Read track log"),
        Track(kReadGarmin, "Read &Garmin", 0),
        Track(kReadGarminUsb, "Read Garmin &USB", 8),
        Track(kReadCompeo, "Read &IQ-Compeo(+)/Competino(+)", 4),
        Track(kReadFlytec, "Read &Flytec 50xx/60xx", 4),
        Track(kReadAllIqTracks, "Read all &IQ Tracks", 11),
        Track(kReadAllFlytecTracks, "Read all &Flytec Tracks", 11),
        Job(kReadFlytecFlightList, "Read Compeo/Flytec f&light list", af::kDownloadFlightList, 4),
        Track(40155, "Read IQ Basic / Flytec 6015", 16),
        Track(kReadFlymaster, "Read Fl&ymaster", 12),
        Sep(),
        Track(kReadXcTrainerMxp, "Read &XC Trainer (MXP at 57600)", 10, 57600),
        Track(40071, "Read &XC Trainer (57600)", 7),
        Track(kReadTopNavMxp, "Read &Top Nav (MXP at 57600)", 9, 57600),
        Track(40039, "Read &Top Navigator (TNCM)", 2),
        Sep(),
        Track(kReadMlr, "Read &MLR", 1),
        Track(40137, "Read Leonardo (MLR)", 1),
        Track(40179, "Read Leonardo (New)", 17),
        Track(40148, "Read DSX", 13),
        Track(40065, "Read Magella&n (9600)", 6),
        Track(40058, "Read Graviter (all tracks)", 5),
        Sep(),
        Track(40010, "Read Log It (&57600)", 3, 57600),
        Track(40011, "Read Log It (&38400)", 3, 38400),
        Track(40012, "Read Log It (&19200)", 3, 19200),
        Track(40069, "Read Tracklogger (115&200)", 3, 115200),
        Track(40193, "Read MTK/Pentagram (38400)", 15, 38400),
        Track(40154, "Read MTK/Pentagram (115200)", 15, 115200),
      End(),
      Sep(),
      Cmd(kShowTrack, "Show &Track"),
      Cmd(kShowVario, "Show vario"),
      Cmd(kShowGlide, "Show glide"),
      Cmd(kShowPolar, "Show polar"),
      Cmd(kOlcFromIgcBuffer, "&OLC statistics (use IGC buffer)"),
      Cmd(kOlcFromSelection, "OLC statistics (use selected pos.)"),
      Sep(),
      Check(kSpeedFilter, "Track log filter (&speed analysis)"),
      Check(kTimestampFilter, "Timestamp filter (&time analysis)"),
      Check(kFiltersDuringDownload, "Use filter(s) during download"),
      Check(kVarioFilter, "Set vario filter (&height analysis)"),
      Cmd(kGapFilterTime, "Set track &gap filter time"),
      Cmd(kLoopFlightGap, "Set loop flight gap"),
      Cmd(kRotateTrack, "Rotate Track"),
    End(),
    Sub("&Waypoints"),
      Cmd(kNewWaypoint, "&New waypoint"),
      Cmd(kEditWaypoint, "&Edit waypoint"),
      Cmd(kDeleteWaypoints, "&Delete waypoint(s)"),
      Sep(),
      Sub("&Read waypoints"),
        ReadWpts(40027, "Read &Garmin", 0),
        ReadWpts(40078, "Read Garmin (&USB)", 8),
        ReadWpts(40055, "Read &Compeo(+)/Competino(+)", 4),
        ReadWpts(40086, "Read &Flytec 50xx/60xx", 4),
        ReadWpts(40158, "Read &IqBasic/Flytec 6015", 16),
        ReadWpts(40167, "Read Flymaster", 12),
        ReadWpts(40033, "Read &MLR (NMEA)", 1),
        ReadWpts(40150, "Read &MLR (Fast)", 14),
        ReadWpts(40181, "Read &Leonardo Pro User Wpts", 17, 0),
        ReadWpts(40186, "Read Leonardo Pro Comp Wpts", 17, 1),
        ReadWpts(40066, "Read Magellan", 6),
        ReadWpts(40053, "Read Top Navigator", 2),
        ReadWpts(40076, "Read XC Trainer", 7),
      End(),
      Sub("&Send waypoints"),
        SendWpts(40021, "Send to &Garmin", 0),
        SendWpts(40022, "Send to Garmin (&USB)", 8),
        SendWpts(40018, "Send to Compeo/Competino (Only Name)", 4, 1),
        SendWpts(40096, "Send to Compeo/Competino (ID+Name)", 4, 2),
        SendWpts(40134, "Send to Compeo/Competino (Only ID)", 4, 3),
        SendWpts(40023, "Send to Flytec 50xx/60xx (Only Name)", 4, 1),
        SendWpts(40097, "Send to Flytec 50xx/60xx (ID+Name)", 4, 2),
        SendWpts(40135, "Send to Flytec 50xx/60xx (Only ID)", 4, 3),
        SendWpts(40159, "Send to IqBasic/Flytec 6015 (Only Name)", 16, 1),
        SendWpts(40162, "Send to IqBasic/Flytec 6015 (ID+Name)", 16, 2),
        SendWpts(40161, "Send to IqBasic/Flytec 6015 (Only ID)", 16, 3),
        SendWpts(40163, "Send to Flymaster (Only Name)", 12, 1),
        SendWpts(40164, "Send to Flymaster (ID+Name)", 12, 2),
        SendWpts(40165, "Send to Flymaster (Only ID)", 12, 3),
        SendWpts(40007, "Send to &MLR", 1),
        SendWpts(40138, "Send to &Digifly Leonardo", 1),
        SendWpts(40182, "Send to Leonardo Pro (User Wpts)", 17, 0),
        SendWpts(40184, "Send to Leonardo Pro (Comp Wpts)", 17, 1),
        SendWpts(40008, "Send to Magellan", 6),
        SendWpts(40009, "Send to Top Navigator", 2),
        SendWpts(40013, "Send to XC Trainer", 7),
        Sep(),
        Job(40017, "Send wpts. as Garmin log (COM)", af::kUploadWaypointsAsTrack, 0),
        Job(40092, "Send wpts. as Garmin log (USB)", af::kUploadWaypointsAsTrack, 8),
      End(),
    End(),
    Sub("&CTR"),
      Cmd(kReadCtrFile, "&Read CTR(s) from file"),
      Cmd(kWriteCtrFile, "&Write CTR(s) to file"),
      Cmd(kWriteCtrGpx, "Write CTR(s) to .gp&x file"),
      Cmd(kWriteCtrGoogleApi, "Write CTR(s) to Google API file"),
      Sep(),
      Cmd(kEditCtr, "&Edit CTR"),
      Cmd(kNewCtr, "&New CTR"),
      Cmd(kDeleteCtrs, "&Delete CTR(s)"),
      Cmd(kShowCtrAsWaypoints, "&Show CTR as waypoints"),
      Cmd(kSetCtrAccuracy, "Set accuracy for segments"),
      Sep(),
      Job(40098, "Send to &Compeo/Competino", af::kUploadAirspace, 4),
      Job(40099, "Send to &Flytec 50xx/60xx", af::kUploadAirspace, 4),
      Job(40106, "Send to &Garmin as a log", af::kUploadAirspace, 0),
      Job(40107, "Send to Garmin &USB as a log", af::kUploadAirspace, 8),
      Job(40109, "Read from &Compeo/Competino", af::kDownloadAirspace, 4),
      Job(40110, "Read from &Flytec 50xx/60xx", af::kDownloadAirspace, 4),
    End(),
    Sub("&GPS"),
      Cmd(kSetComPort, "Set COM port"),
      Sep(),
      Job(40014, "&Erase LogIt track", af::kEraseLog, 3),
      Job(40015, "Write LogIt &Name", af::kUploadOwnerName, 3),
      Job(40016, "Read LogIt &Data", af::kLoggerDataDialog, 3),
      Job(40194, "Erase MTK/Pentagram (38400)", af::kEraseLog, 15, 38400),
      Job(40156, "Erase MTK/Pentagram (115200)", af::kEraseLog, 15, 115200),
      Cmd(kWriteDsxPilotData, "Write DSX pilot data"),
      Sep(),
      Check(kUsbCompCheckWaypoints, "USB && comp. mode: Check wpts"),
      Check(kPowerOffAfterWaypointsAndLog, "Pwr off after wpts wr && log read"),
      Check(kPowerOffAfterLog, "Pwr off after log read"),
    End(),
    Sub("&Competition"),
      Cmd(kCompetitionMode, "Competition mode"),
      Cmd(kServer, "&Server"),
    End(),
    Sub("&View"),
      Cmd(kViewWaypoints, "&Waypoints", "Ctrl+1"),
      Cmd(kViewTrackLog, "&Track log", "Ctrl+2"),
      Cmd(kViewAirspace, "&CTR list", "Ctrl+3"),
      Cmd(kViewPilotList, "&Pilot list", "Ctrl+4"),
      Sep(),
      Cmd(kSelectAll, "Select &all", "Ctrl+A"),
      Sep(),
      Cmd(kSmallListSize, "Set small list size", "Ctrl+Alt+0"),
      Cmd(kDefaultListSize, "Set default list size", "Ctrl+Alt+1"),
      Cmd(kLargeListSize, "Set large list size", "Ctrl+Alt+2"),
      Cmd(kFont, "&Font"),
    End(),
    Sub("T&ools"),
      Cmd(kCalculateDistance, "Calculate &distance"),
      Cmd(kCoordinateConversion, "Coordinate &conversion"),
      Sep(),
      Cmd(kDumpDebugData, "&Dump Debug Data"),
      Cmd(kClearDebugData, "&Clear Debug Data"),
      Cmd(kTest, "&Test"),
    End(),
    Sub("&Help"),
      Cmd(kAbout, "&About Trelvik"),
    End(),
});

constexpr auto kQuickButtons = std::to_array<QuickButton>({
    {"Garmin (RS232)", kReadGarmin, 0, 0},
    {"Garmin (USB)", kReadGarminUsb, 1, 0},
    {"Compeo/Competino", kReadCompeo, 0, 1},
    {"Flytec 5020/5030", kReadFlytec, 1, 1},
    {"XC Trainer (MXP)", kReadXcTrainerMxp, 0, 2},
    {"MLR types", kReadMlr, 1, 2},
    {"TopNav (MXP)", kReadTopNavMxp, 0, 3},
    {"Flymaster", kReadFlymaster, 1, 3},
});

}  // namespace

std::span<const MenuEntry> MainMenuTable() { return kMenu; }

const MenuEntry* FindMenuEntry(int id) {
  for (const MenuEntry& entry : kMenu) {
    if (entry.id == id && id != 0) return &entry;
  }
  return nullptr;
}

std::span<const QuickButton> QuickButtons() { return kQuickButtons; }

}  // namespace trelvik
