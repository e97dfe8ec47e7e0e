#include "ui/menu_table.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "instruments/protocol_table.hpp"
#include "ui/command_ids.hpp"

namespace trelvik {

namespace {

using namespace command;

constexpr MenuEntry Sub(const char* text) { return {MenuRow::Submenu, 0, text}; }
constexpr MenuEntry End() { return {MenuRow::End}; }
constexpr MenuEntry Sep() { return {MenuRow::Separator}; }
constexpr MenuEntry Cmd(int id, const char* text, const char* shortcut = nullptr) {
  return {MenuRow::Command, id, text, shortcut};
}
constexpr MenuEntry Check(int id, const char* text) { return {MenuRow::Check, id, text}; }
// A row of the window's own menu, or the place where the protocol table's
// instrument commands go.
struct SkeletonRow {
  constexpr SkeletonRow(MenuEntry own) : entry(own) {}  // NOLINT: the rows below are entries
  constexpr explicit SkeletonRow(MenuPlace place) : instruments(place) {}
  MenuEntry entry;
  std::optional<MenuPlace> instruments;
};

constexpr SkeletonRow Instruments(MenuPlace place) { return SkeletonRow(place); }

constexpr auto kMenu = std::to_array<SkeletonRow>({
    Sub("&File"),
      Cmd(kOpenLog, "&Open log", "Ctrl+O"),
      Cmd(kSaveLogFlightLog, "&Save log (FlightLog/.kml)"),
      Cmd(kSaveLogAs, "Save log &As..."),
      Cmd(kSaveLogAnimation, "Save log for animation in GE"),
      Cmd(kConvertIgcToKml, "Convert .igc files to .kml"),
      Cmd(kConvertKmlToIgc, "&Convert .kml files to .igc"),
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
        Instruments(MenuPlace::ReadTrackLog),
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
      Cmd(kCsvParameters, "Set additional csv parameters"),
    End(),
    Sub("&Waypoints"),
      Cmd(kNewWaypoint, "&New waypoint"),
      Cmd(kEditWaypoint, "&Edit waypoint"),
      Cmd(kDeleteWaypoints, "&Delete waypoint(s)"),
      Sep(),
      Sub("&Read waypoints"),
        Instruments(MenuPlace::ReadWaypoints),
      End(),
      Sub("&Send waypoints"),
        Instruments(MenuPlace::SendWaypoints),
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
      Instruments(MenuPlace::Airspace),
    End(),
    Sub("&GPS"),
      Cmd(kSetComPort, "Set COM port"),
      Sep(),
      Instruments(MenuPlace::Gps),
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

// The protocol table's commands of one place, in their order, a separator
// between groups.
void AppendInstrumentCommands(MenuPlace place, std::vector<MenuEntry>& menu) {
  std::vector<std::pair<const InstrumentCommand*, const ProtocolRow*>> commands;
  for (const ProtocolRow& row : ProtocolTable()) {
    for (const InstrumentCommand& command : row.commands) {
      if (command.place == place) commands.emplace_back(&command, &row);
    }
  }
  std::ranges::sort(commands, {}, [](const auto& pair) { return pair.first->order; });
  for (size_t i = 0; i < commands.size(); ++i) {
    const auto& [command, row] = commands[i];
    if (i > 0 && command->order / 100 != commands[i - 1].first->order / 100) menu.push_back(Sep());
    menu.push_back({MenuRow::Command, command->id, command->text, nullptr, {row, command->function, command->parameter}});
  }
}

std::vector<MenuEntry> BuildMenu() {
  std::vector<MenuEntry> menu;
  for (const SkeletonRow& row : kMenu) {
    if (row.instruments) {
      AppendInstrumentCommands(*row.instruments, menu);
    } else {
      menu.push_back(row.entry);
    }
  }
  return menu;
}

std::vector<QuickButtonPlace> CollectQuickButtons() {
  std::vector<QuickButtonPlace> buttons;
  for (const ProtocolRow& row : ProtocolTable()) buttons.insert(buttons.end(), row.quickButtons.begin(), row.quickButtons.end());
  return buttons;
}

}  // namespace

std::span<const MenuEntry> MainMenuTable() {
  static const std::vector<MenuEntry> menu = BuildMenu();
  return menu;
}

std::span<const QuickButtonPlace> QuickButtons() {
  static const std::vector<QuickButtonPlace> buttons = CollectQuickButtons();
  return buttons;
}

}  // namespace trelvik
