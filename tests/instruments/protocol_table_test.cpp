// The protocol table against the operation table of the job frame, and the
// ties between its parts: every command starts an operation its row offers,
// every built cell can be reached, names are unique.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "instruments/protocol_table.hpp"

namespace trelvik {
namespace {

using AF = AccessFunction;

// The cells the program offers, operation by operation (protocol numbers).
const std::map<AF, std::set<int>> kOfferedCells = {
    {AF::DownloadWaypoints, {0, 1, 2, 4, 6, 7, 8, 12, 14, 16, 17}},
    {AF::DownloadTrackLog, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
    {AF::LoggerDataDialog, {3}},
    {AF::UploadWaypoints, {0, 1, 2, 4, 6, 7, 8, 12, 14, 16, 17}},
    {AF::EraseLog, {3, 15}},
    {AF::UploadPilotName, {3, 5, 12, 13}},
    {AF::UploadWaypointsAsTrack, {0, 8}},
    {AF::UploadCtr, {0, 4, 8}},
    {AF::DownloadCtr, {4}},
    {AF::DownloadFlightList, {4, 12, 16, 17}},
};

TEST(ProtocolTable, OneRowPerProtocolOfferingTheOperationTable) {
  ASSERT_EQ(ProtocolTable().size(), static_cast<size_t>(kProtocolCount));
  for (int protocol = 0; protocol < kProtocolCount; ++protocol) {
    const ProtocolRow& row = ProtocolTable()[static_cast<size_t>(protocol)];
    EXPECT_EQ(static_cast<int>(row.protocol), protocol);
    EXPECT_FALSE(row.label.empty()) << protocol;
    for (const auto& [function, protocols] : kOfferedCells) {
      EXPECT_EQ(Contains(row.offered, function), protocols.contains(protocol))
          << "protocol " << protocol << " operation " << static_cast<int>(function);
    }
  }
}

TEST(ProtocolTable, FlowControlOnlyWhereTheInstrumentsUseIt) {
  const std::set<ProtocolType> xonXoff = {ProtocolType::Flytec, ProtocolType::FlytecAllTracks, ProtocolType::XcTrainer,
                                          ProtocolType::XcTrainerMxp};
  for (const ProtocolRow& row : ProtocolTable()) {
    EXPECT_EQ(row.line.xonXoff, xonXoff.contains(row.protocol)) << row.label;
  }
}

TEST(ProtocolTable, EveryCommandStartsAnOfferedOperationUnderItsOwnId) {
  std::set<int> ids;
  std::map<MenuPlace, std::set<int>> orders;
  for (const ProtocolRow& row : ProtocolTable()) {
    for (const InstrumentCommand& command : row.commands) {
      EXPECT_TRUE(Contains(row.offered, command.function)) << command.text;
      EXPECT_TRUE(ids.insert(command.id).second) << "id used twice: " << command.id;
      EXPECT_TRUE(orders[command.place].insert(command.order).second) << "order used twice: " << command.text;
    }
    for (const QuickButtonPlace& button : row.quickButtons) {
      bool found = false;
      for (const InstrumentCommand& command : row.commands) found = found || command.id == button.commandId;
      EXPECT_TRUE(found) << button.text << " starts no command of its row";
    }
  }
}

TEST(ProtocolTable, CommandLineNamesAreUniqueAndOfferedByTheirRows) {
  std::set<std::string_view> names;
  std::set<GpsType> types;
  for (const ProtocolRow& row : ProtocolTable()) {
    if (!row.commandLine) continue;
    const CommandLineUse& use = *row.commandLine;
    EXPECT_TRUE(names.insert(use.name).second) << use.name;
    EXPECT_TRUE(types.insert(use.type).second) << use.name;
    EXPECT_EQ(CommandLineRow(use.type), &row);
    EXPECT_EQ(CommandLineRowNamed(use.name), &row);
    const std::pair<bool, AF> transfers[] = {
        {use.trackLog.offered, AF::DownloadTrackLog},       {use.waypointDownload.offered, AF::DownloadWaypoints},
        {use.waypointUpload.offered, AF::UploadWaypoints},  {use.airspaceUpload, AF::UploadCtr},
        {use.flightList, AF::DownloadFlightList},           {use.username, AF::UploadPilotName},
    };
    for (const auto& [offered, function] : transfers) {
      EXPECT_TRUE(!offered || Contains(row.offered, function)) << use.name << " " << static_cast<int>(function);
    }
  }
  EXPECT_EQ(names.size(), 15u);
  EXPECT_EQ(CommandLineRowNamed("GARMINUSB"), nullptr);
}

TEST(ProtocolTable, ServerNamesAreUnique) {
  std::set<std::string_view> names;
  for (const ProtocolRow& row : ProtocolTable()) {
    if (row.serverName.empty()) {
      EXPECT_FALSE(row.serverSessions) << row.label;
      continue;
    }
    EXPECT_TRUE(names.insert(row.serverName).second) << row.serverName;
  }
  EXPECT_EQ(names.size(), 14u);
}

// A built cell that no menu command, command-line job or server session could
// start would be dead code; a command of a built driver without its cell would
// be a menu entry that never works.
TEST(ProtocolTable, EveryBuiltCellIsRegisteredAndReachable) {
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  std::set<std::string_view> driverNames;
  for (const ProtocolRow& row : ProtocolTable()) {
    EXPECT_EQ(table.Row(row.protocol), &row);
    if (row.driver == nullptr) continue;
    driverNames.insert(row.driver->name);
    for (const JobCell& cell : row.driver->cells) {
      if (cell.protocol != row.protocol) continue;
      EXPECT_EQ(table.Find(cell.function, cell.protocol), cell.routine);
      bool reachable = cell.function == AF::DownloadTrackLog && row.serverSessions;
      // The flight list of an unattended run goes to the program that started
      // it; /USERNAME uploads the pilot data.
      if (row.commandLine) {
        reachable = reachable || (cell.function == AF::DownloadFlightList && row.commandLine->flightList) ||
                    (cell.function == AF::UploadPilotName && row.commandLine->username);
      }
      for (const InstrumentCommand& command : row.commands) reachable = reachable || command.function == cell.function;
      EXPECT_TRUE(reachable) << row.label << " operation " << static_cast<int>(cell.function);
    }
  }
  // Every cell a driver names belongs to a row that points to that driver.
  for (const ProtocolRow& row : ProtocolTable()) {
    if (row.driver == nullptr) continue;
    for (const JobCell& cell : row.driver->cells) {
      EXPECT_EQ(ProtocolRowOf(cell.protocol).driver, row.driver) << row.driver->name << " names a foreign protocol";
    }
  }
  EXPECT_TRUE(driverNames.contains("flytec"));
  JobTable again;
  ASSERT_TRUE(RegisterInstruments(again));
  EXPECT_FALSE(RegisterInstruments(again)) << "a protocol registered twice";
}

}  // namespace
}  // namespace trelvik
