#include "instruments/protocol_table.hpp"

#include <array>

#include "airspace/ctr_selection.hpp"
#include "instruments/dsx/dsx.hpp"
#include "instruments/flymaster/flymaster.hpp"
#include "instruments/flytec/flytec.hpp"
#include "instruments/garmin/garmin.hpp"
#include "instruments/graviter/graviter.hpp"
#include "instruments/instrument_command_ids.hpp"
#include "instruments/iqbasic/iqbasic.hpp"
#include "instruments/leonardo/leonardo.hpp"
#include "instruments/logit/logit.hpp"
#include "instruments/magellan/magellan.hpp"
#include "instruments/mlr/mlr.hpp"
#include "instruments/mtk/mtk.hpp"
#include "instruments/xctrainer/xctrainer.hpp"

namespace trelvik {
namespace {

using AF = AccessFunction;
using MP = MenuPlace;
using P = ProtocolType;
using namespace command;

constexpr AccessFunctionSet kWaypointsBothWays = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints});
constexpr CommandLineTransfer kYes{true};
constexpr CommandLineTransfer At(int32_t option) { return {true, option}; }
constexpr int32_t kFastBaud = 57600;
constexpr int32_t kCompetitionWaypoints = 1;  // Leonardo: the competition waypoint list

// Waypoint naming variants of the send commands that offer them.
constexpr int32_t kOnlyName = 1;
constexpr int32_t kIdAndName = 2;
constexpr int32_t kOnlyId = 3;

// clang-format off
constexpr InstrumentCommand kGarminCommands[] = {
    {MP::ReadTrackLog, 0, kReadGarmin, "Read &Garmin", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 0, 40027, "Read &Garmin", AF::DownloadWaypoints},
    {MP::SendWaypoints, 0, 40021, "Send to &Garmin", AF::UploadWaypoints},
    {MP::SendWaypoints, 100, 40017, "Send wpts. as Garmin log (COM)", AF::UploadWaypointsAsTrack},
    {MP::Airspace, 2, 40106, "Send to &Garmin as a log", AF::UploadCtr},
};
constexpr QuickButtonPlace kGarminButtons[] = {{"Garmin (RS232)", kReadGarmin, 0, 0}};

constexpr InstrumentCommand kGarminUsbCommands[] = {
    {MP::ReadTrackLog, 1, kReadGarminUsb, "Read Garmin &USB", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 1, 40078, "Read Garmin (&USB)", AF::DownloadWaypoints},
    {MP::SendWaypoints, 1, 40022, "Send to Garmin (&USB)", AF::UploadWaypoints},
    {MP::SendWaypoints, 101, 40092, "Send wpts. as Garmin log (USB)", AF::UploadWaypointsAsTrack},
    {MP::Airspace, 3, 40107, "Send to Garmin &USB as a log", AF::UploadCtr},
};
constexpr QuickButtonPlace kGarminUsbButtons[] = {{"Garmin (USB)", kReadGarminUsb, 1, 0}};

constexpr InstrumentCommand kFlytecCommands[] = {
    {MP::ReadTrackLog, 2, kReadCompeo, "Read &IQ-Compeo(+)/Competino(+)", AF::DownloadTrackLog},
    {MP::ReadTrackLog, 3, kReadFlytec, "Read &Flytec 50xx/60xx", AF::DownloadTrackLog},
    {MP::ReadTrackLog, 6, kReadFlytecFlightList, "Read Compeo/Flytec f&light list", AF::DownloadFlightList},
    {MP::ReadWaypoints, 2, 40055, "Read &Compeo(+)/Competino(+)", AF::DownloadWaypoints},
    {MP::ReadWaypoints, 3, 40086, "Read &Flytec 50xx/60xx", AF::DownloadWaypoints},
    {MP::SendWaypoints, 2, 40018, "Send to Compeo/Competino (Only Name)", AF::UploadWaypoints, kOnlyName},
    {MP::SendWaypoints, 3, 40096, "Send to Compeo/Competino (ID+Name)", AF::UploadWaypoints, kIdAndName},
    {MP::SendWaypoints, 4, 40134, "Send to Compeo/Competino (Only ID)", AF::UploadWaypoints, kOnlyId},
    {MP::SendWaypoints, 5, 40023, "Send to Flytec 50xx/60xx (Only Name)", AF::UploadWaypoints, kOnlyName},
    {MP::SendWaypoints, 6, 40097, "Send to Flytec 50xx/60xx (ID+Name)", AF::UploadWaypoints, kIdAndName},
    {MP::SendWaypoints, 7, 40135, "Send to Flytec 50xx/60xx (Only ID)", AF::UploadWaypoints, kOnlyId},
    {MP::Airspace, 0, 40098, "Send to &Compeo/Competino", AF::UploadCtr},
    {MP::Airspace, 1, 40099, "Send to &Flytec 50xx/60xx", AF::UploadCtr},
    {MP::Airspace, 4, 40109, "Read from &Compeo/Competino", AF::DownloadCtr},
    {MP::Airspace, 5, 40110, "Read from &Flytec 50xx/60xx", AF::DownloadCtr},
};
constexpr QuickButtonPlace kFlytecButtons[] = {{"Compeo/Competino", kReadCompeo, 0, 1},
                                               {"Flytec 5020/5030", kReadFlytec, 1, 1}};

constexpr InstrumentCommand kFlytecAllTracksCommands[] = {
    {MP::ReadTrackLog, 4, kReadAllIqTracks, "Read all &IQ Tracks", AF::DownloadTrackLog},
    {MP::ReadTrackLog, 5, kReadAllFlytecTracks, "Read all &Flytec Tracks", AF::DownloadTrackLog},
};

constexpr InstrumentCommand kIqBasicCommands[] = {
    {MP::ReadTrackLog, 7, 40155, "Read IQ Basic / Flytec 6015", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 4, 40158, "Read &IqBasic/Flytec 6015", AF::DownloadWaypoints},
    {MP::SendWaypoints, 8, 40159, "Send to IqBasic/Flytec 6015 (Only Name)", AF::UploadWaypoints, kOnlyName},
    {MP::SendWaypoints, 9, 40162, "Send to IqBasic/Flytec 6015 (ID+Name)", AF::UploadWaypoints, kIdAndName},
    {MP::SendWaypoints, 10, 40161, "Send to IqBasic/Flytec 6015 (Only ID)", AF::UploadWaypoints, kOnlyId},
};

constexpr InstrumentCommand kFlymasterCommands[] = {
    {MP::ReadTrackLog, 8, kReadFlymaster, "Read Fl&ymaster", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 5, 40167, "Read Flymaster", AF::DownloadWaypoints},
    {MP::SendWaypoints, 11, 40163, "Send to Flymaster (Only Name)", AF::UploadWaypoints, kOnlyName},
    {MP::SendWaypoints, 12, 40164, "Send to Flymaster (ID+Name)", AF::UploadWaypoints, kIdAndName},
    {MP::SendWaypoints, 13, 40165, "Send to Flymaster (Only ID)", AF::UploadWaypoints, kOnlyId},
    {MP::Gps, 100, 40171, "Write Flymaster Name", AF::UploadPilotName, 0},
    {MP::Gps, 101, 40172, "Set Flymaster altitude alarm", AF::UploadPilotName, 1},
    {MP::Gps, 102, 40173, "Write Flymaster IDs", AF::UploadPilotName, 2},
};
constexpr QuickButtonPlace kFlymasterButtons[] = {{"Flymaster", kReadFlymaster, 1, 3}};

constexpr InstrumentCommand kXcTrainerMxpCommands[] = {
    {MP::ReadTrackLog, 100, kReadXcTrainerMxp, "Read &XC Trainer (MXP at 57600)", AF::DownloadTrackLog, 57600},
};
constexpr QuickButtonPlace kXcTrainerMxpButtons[] = {{"XC Trainer (MXP)", kReadXcTrainerMxp, 0, 2}};

constexpr InstrumentCommand kXcTrainerCommands[] = {
    {MP::ReadTrackLog, 101, 40071, "Read &XC Trainer (57600)", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 12, 40076, "Read XC Trainer", AF::DownloadWaypoints},
    {MP::SendWaypoints, 20, 40013, "Send to XC Trainer", AF::UploadWaypoints},
};

constexpr InstrumentCommand kTopNavMxpCommands[] = {
    {MP::ReadTrackLog, 102, kReadTopNavMxp, "Read &Top Nav (MXP at 57600)", AF::DownloadTrackLog, 57600},
};
constexpr QuickButtonPlace kTopNavMxpButtons[] = {{"TopNav (MXP)", kReadTopNavMxp, 0, 3}};

constexpr InstrumentCommand kTopNavCommands[] = {
    {MP::ReadTrackLog, 103, 40039, "Read &Top Navigator (TNCM)", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 11, 40053, "Read Top Navigator", AF::DownloadWaypoints},
    {MP::SendWaypoints, 19, 40009, "Send to Top Navigator", AF::UploadWaypoints},
};

constexpr InstrumentCommand kMlrCommands[] = {
    {MP::ReadTrackLog, 200, kReadMlr, "Read &MLR", AF::DownloadTrackLog},
    {MP::ReadTrackLog, 201, 40137, "Read Leonardo (MLR)", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 6, 40033, "Read &MLR (NMEA)", AF::DownloadWaypoints},
    {MP::SendWaypoints, 14, 40007, "Send to &MLR", AF::UploadWaypoints},
    {MP::SendWaypoints, 15, 40138, "Send to &Digifly Leonardo", AF::UploadWaypoints},
};
constexpr QuickButtonPlace kMlrButtons[] = {{"MLR types", kReadMlr, 1, 2}};

constexpr InstrumentCommand kMlrFastCommands[] = {
    {MP::ReadWaypoints, 7, 40150, "Read &MLR (Fast)", AF::DownloadWaypoints},
};

constexpr InstrumentCommand kLeonardoCommands[] = {
    {MP::ReadTrackLog, 202, 40179, "Read Leonardo (New)", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 8, 40181, "Read &Leonardo Pro User Wpts", AF::DownloadWaypoints, 0},
    {MP::ReadWaypoints, 9, 40186, "Read Leonardo Pro Comp Wpts", AF::DownloadWaypoints, kCompetitionWaypoints},
    {MP::SendWaypoints, 16, 40182, "Send to Leonardo Pro (User Wpts)", AF::UploadWaypoints, 0},
    {MP::SendWaypoints, 17, 40184, "Send to Leonardo Pro (Comp Wpts)", AF::UploadWaypoints, kCompetitionWaypoints},
};

constexpr InstrumentCommand kDsxCommands[] = {
    {MP::ReadTrackLog, 203, 40148, "Read DSX", AF::DownloadTrackLog},
    {MP::Gps, 103, kWriteDsxPilotData, "Write DSX pilot data", AF::UploadPilotName},
};

constexpr InstrumentCommand kMagellanCommands[] = {
    {MP::ReadTrackLog, 204, 40065, "Read Magella&n (9600)", AF::DownloadTrackLog},
    {MP::ReadWaypoints, 10, 40066, "Read Magellan", AF::DownloadWaypoints},
    {MP::SendWaypoints, 18, 40008, "Send to Magellan", AF::UploadWaypoints},
};

constexpr InstrumentCommand kGraviterCommands[] = {
    {MP::ReadTrackLog, 205, 40058, "Read Graviter (all tracks)", AF::DownloadTrackLog},
};

constexpr InstrumentCommand kLogItCommands[] = {
    {MP::ReadTrackLog, 300, 40010, "Read Log It (&57600)", AF::DownloadTrackLog, 57600},
    {MP::ReadTrackLog, 301, 40011, "Read Log It (&38400)", AF::DownloadTrackLog, 38400},
    {MP::ReadTrackLog, 302, 40012, "Read Log It (&19200)", AF::DownloadTrackLog, 19200},
    {MP::ReadTrackLog, 303, 40069, "Read Tracklogger (115&200)", AF::DownloadTrackLog, 115200},
    {MP::Gps, 0, 40014, "&Erase LogIt track", AF::EraseLog},
    {MP::Gps, 1, 40015, "Write LogIt &Name", AF::UploadPilotName},
    {MP::Gps, 2, 40016, "Read LogIt &Data", AF::LoggerDataDialog},
};

constexpr InstrumentCommand kMtkCommands[] = {
    {MP::ReadTrackLog, 304, 40193, "Read MTK/Pentagram (38400)", AF::DownloadTrackLog, 38400},
    {MP::ReadTrackLog, 305, 40154, "Read MTK/Pentagram (115200)", AF::DownloadTrackLog, 115200},
    {MP::Gps, 3, 40194, "Erase MTK/Pentagram (38400)", AF::EraseLog, 38400},
    {MP::Gps, 4, 40156, "Erase MTK/Pentagram (115200)", AF::EraseLog, 115200},
};

constexpr std::array<ProtocolRow, kProtocolCount> kRows = {{
    {.protocol = P::GarminSerial, .label = "Garmin (serial)", .source = TrackSource::Garmin, .line = {9600, false},
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::UploadWaypointsAsTrack, AF::UploadCtr}),
     .commandLine = CommandLineUse{.name = "GARMIN", .type = GpsType::Garmin, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = kYes, .waypointUpload = kYes, .airspaceUpload = true},
     .serverName = "garmin", .serverSessions = true, .commands = kGarminCommands, .quickButtons = kGarminButtons,
     .driver = &kGarminDriver},
    {.protocol = P::Mlr, .label = "MLR", .source = TrackSource::Mlr, .line = {4800, false},
     .offered = kWaypointsBothWays,
     .commandLine = CommandLineUse{.name = "MLR", .type = GpsType::Mlr, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = kYes, .waypointUpload = kYes},
     .serverName = "mlr", .commands = kMlrCommands, .quickButtons = kMlrButtons, .driver = &kMlrDriver},
    {.protocol = P::TopNav, .label = "TopNav (TNCM)", .source = TrackSource::XcTrainerTopNav, .line = {9600, false},
     .rawImage = RawImage::LoggerBytes, .offered = kWaypointsBothWays,
     .commandLine = CommandLineUse{.name = "TOPNAV", .type = GpsType::TopNav, .trackLog = kYes, .waypointUpload = kYes},
     .serverName = "topnav", .commands = kTopNavCommands, .driver = &kXcTrainerDriver},
    {.protocol = P::LogIt, .label = "LogIt", .source = TrackSource::LogIt, .line = {4800, false},
     .offered = Functions({AF::DownloadTrackLog, AF::LoggerDataDialog, AF::EraseLog, AF::UploadPilotName}),
     .commandLine = CommandLineUse{.name = "LOGIT", .type = GpsType::LogIt, .trackLog = At(kFastBaud), .igcLog = true},
     .serverName = "logit", .commands = kLogItCommands, .driver = &kLogItDriver},
    {.protocol = P::Flytec, .label = "Flytec / Bräuniger (Compeo, Competino, 50xx, 60xx)", .source = TrackSource::Flytec,
     .line = {57600, true}, .rawImage = RawImage::IgcFile, .uploadNameRules = true,
     .airspaceNameLength = kFlytecCtrNameLength,
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::UploadCtr, AF::DownloadCtr,
                           AF::DownloadFlightList}),
     .commandLine = CommandLineUse{.name = "IQCOMPEO", .type = GpsType::IqCompeo, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = kYes, .waypointUpload = kYes, .airspaceUpload = true,
                                   .flightList = true},
     .serverName = "iqcompeo", .serverSessions = true, .commands = kFlytecCommands, .quickButtons = kFlytecButtons,
     .driver = &kFlytecDriver},
    {.protocol = P::Graviter, .label = "Graviter", .source = TrackSource::Graviter, .line = {38400, false},
     .offered = Functions({AF::DownloadTrackLog, AF::UploadPilotName}),
     .commandLine = CommandLineUse{.name = "GRAVITER", .type = GpsType::Graviter, .trackLog = kYes},
     .serverName = "graviter", .commands = kGraviterCommands, .driver = &kGraviterDriver},
    {.protocol = P::Magellan, .label = "Magellan", .source = TrackSource::Magellan, .line = {9600, false},
     .offered = kWaypointsBothWays,
     .commandLine = CommandLineUse{.name = "MAGELLAN", .type = GpsType::Magellan, .trackLog = kYes, .igcLog = true,
                                   .waypointUpload = kYes},
     .serverName = "magellan", .commands = kMagellanCommands, .driver = &kMagellanDriver},
    {.protocol = P::XcTrainer, .label = "XC Trainer", .source = TrackSource::XcTrainerTopNav, .line = {57600, true},
     .rawImage = RawImage::LoggerBytes, .offered = kWaypointsBothWays,
     .commandLine = CommandLineUse{.name = "XCTRAINER", .type = GpsType::XcTrainer, .trackLog = kYes, .igcLog = true,
                                   .waypointUpload = kYes},
     .serverName = "xctrainer", .commands = kXcTrainerCommands, .driver = &kXcTrainerDriver},
    {.protocol = P::GarminUsb, .label = "Garmin (USB)", .source = TrackSource::Garmin, .line = {0, false}, .usb = true,
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::UploadWaypointsAsTrack, AF::UploadCtr}),
     .serverName = "garminusb", .serverSessions = true, .commands = kGarminUsbCommands, .quickButtons = kGarminUsbButtons,
     .driver = &kGarminUsbDriver},
    {.protocol = P::TopNavMxp, .label = "TopNav (MXP)", .source = TrackSource::XcTrainerTopNav, .line = {57600, false},
     .rawImage = RawImage::LoggerBytes, .offered = Functions({AF::DownloadTrackLog}),
     .commands = kTopNavMxpCommands, .quickButtons = kTopNavMxpButtons, .driver = &kXcTrainerDriver},
    {.protocol = P::XcTrainerMxp, .label = "XC Trainer (MXP)", .source = TrackSource::XcTrainerTopNav, .line = {57600, true},
     .rawImage = RawImage::LoggerBytes, .offered = Functions({AF::DownloadTrackLog}),
     .commandLine = CommandLineUse{.name = "XCT_MXP", .type = GpsType::XctMxp, .trackLog = At(kFastBaud), .igcLog = true},
     .serverName = "xct_mxp", .commands = kXcTrainerMxpCommands, .quickButtons = kXcTrainerMxpButtons,
     .driver = &kXcTrainerDriver},
    {.protocol = P::FlytecAllTracks, .label = "Flytec / Bräuniger, all tracks", .source = TrackSource::Flytec,
     .line = {57600, true}, .rawImage = RawImage::IgcFile, .writesOwnLogbook = true,
     .offered = Functions({AF::DownloadTrackLog}), .commands = kFlytecAllTracksCommands, .driver = &kFlytecDriver},
    {.protocol = P::Flymaster, .label = "Flymaster", .source = TrackSource::Flymaster, .line = {57600, false},
     .uploadNameRules = true,
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::UploadPilotName,
                           AF::DownloadFlightList}),
     .commandLine = CommandLineUse{.name = "FLYMASTER", .type = GpsType::Flymaster, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = kYes, .waypointUpload = kYes, .flightList = true, .username = true},
     .serverName = "flymaster", .serverSessions = true, .commands = kFlymasterCommands, .quickButtons = kFlymasterButtons,
     .driver = &kFlymasterDriver},
    {.protocol = P::Dsx, .label = "DSX", .source = TrackSource::Dsx, .line = {9600, false}, .rawImage = RawImage::IgcFile,
     .offered = Functions({AF::DownloadTrackLog, AF::UploadPilotName}),
     .commandLine = CommandLineUse{.name = "DSX", .type = GpsType::Dsx, .trackLog = kYes, .igcLog = true},
     .serverName = "dsx", .commands = kDsxCommands, .driver = &kDsxDriver},
    {.protocol = P::MlrFast, .label = "MLR, fast / Leonardo (MLR)", .source = TrackSource::Mlr, .line = {4800, false},
     .offered = kWaypointsBothWays,
     .commandLine = CommandLineUse{.name = "MLRC", .type = GpsType::Mlrc, .waypointDownload = kYes},
     .commands = kMlrFastCommands, .driver = &kMlrDriver},
    {.protocol = P::MtkLogger, .label = "MTK / Pentagram logger", .source = TrackSource::Mtk, .line = {115200, false},
     .rawImage = RawImage::LoggerBytes, .offered = Functions({AF::DownloadTrackLog, AF::EraseLog}),
     .commandLine = CommandLineUse{.name = "MTK", .type = GpsType::Mtk, .trackLog = kYes, .igcLog = true},
     .serverName = "mtk", .commands = kMtkCommands, .driver = &kMtkDriver},
    {.protocol = P::IqBasic, .label = "IQ Basic / Flytec 6015", .source = TrackSource::IqBasic, .line = {57600, false},
     .rawImage = RawImage::IgcFile, .uploadNameRules = true,
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::DownloadFlightList}),
     .commandLine = CommandLineUse{.name = "IQBASIC", .type = GpsType::IqBasic, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = kYes, .waypointUpload = kYes, .flightList = true},
     .serverName = "iqbasic", .commands = kIqBasicCommands, .driver = &kIqBasicDriver},
    {.protocol = P::Leonardo, .label = "Digifly Leonardo", .source = TrackSource::Leonardo, .line = {38400, false},
     .offered = Functions({AF::DownloadWaypoints, AF::DownloadTrackLog, AF::UploadWaypoints, AF::DownloadFlightList}),
     .commandLine = CommandLineUse{.name = "LEONARDO", .type = GpsType::Leonardo, .trackLog = kYes, .igcLog = true,
                                   .waypointDownload = At(kCompetitionWaypoints),
                                   .waypointUpload = At(kCompetitionWaypoints), .flightList = true},
     .commands = kLeonardoCommands, .driver = &kLeonardoDriver},
    {.protocol = P::MlrTrackOnly, .label = "MLR, track log only", .source = TrackSource::Mlr, .line = {38400, false},
     .offered = Functions({AF::DownloadTrackLog})},
}};
// clang-format on

}  // namespace

std::span<const ProtocolRow> ProtocolTable() { return kRows; }

const ProtocolRow& ProtocolRowOf(ProtocolType protocol) {
  const auto index = static_cast<size_t>(protocol);
  return index < kRows.size() ? kRows[index] : kRows.front();
}

const ProtocolRow* CommandLineRow(GpsType type) {
  for (const ProtocolRow& row : kRows) {
    if (row.commandLine && row.commandLine->type == type) return &row;
  }
  return nullptr;
}

const ProtocolRow* CommandLineRowNamed(std::string_view upperName) {
  for (const ProtocolRow& row : kRows) {
    if (row.commandLine && row.commandLine->name == upperName) return &row;
  }
  return nullptr;
}

bool RegisterInstruments(JobTable& table) { return table.RegisterAll(ProtocolTable()); }

}  // namespace trelvik
