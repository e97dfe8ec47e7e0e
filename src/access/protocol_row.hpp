#pragma once
// What the program knows about one instrument protocol, in one row: the link
// it needs, what its downloads keep, the operations it offers, the names the
// command line and the TCP server give it, the window's commands that start
// it, and the driver that runs it. The job table, the serial link, the
// completions, the command line, the menus and the server are all built from
// these rows, so adding an instrument family means adding its driver and
// filling in its row.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "access/access_function.hpp"
#include "access/link.hpp"
#include "records/protocol_type.hpp"

namespace trelvik {

struct InstrumentDriver;

// Set of operations, one bit per AccessFunction value.
using AccessFunctionSet = uint16_t;
constexpr AccessFunctionSet Functions(std::initializer_list<AccessFunction> functions) {
  AccessFunctionSet set = 0;
  for (const AccessFunction f : functions) set = static_cast<AccessFunctionSet>(set | (1u << static_cast<int>(f)));
  return set;
}
constexpr bool Contains(AccessFunctionSet set, AccessFunction f) { return (set >> static_cast<int>(f)) & 1u; }

// The instrument's own file a download keeps beside its points. A log keeps
// its old image of that kind when a download of the same protocol brings none
// (the all-tracks download writes a logbook instead); any other download
// drops it, since it would no longer belong to the points.
enum class RawImage {
  None,
  IgcFile,      // the IGC file as sent; saved unchanged by "Save IGC log from GPS" and IGC_LOG
  LoggerBytes,  // the logger's own record stream
};

// The place of an instrument command in the main window's menus. Within one
// place the commands follow their `order`; each hundred is a group of its own,
// set off by a separator.
enum class MenuPlace { ReadTrackLog, ReadWaypoints, SendWaypoints, Airspace, Gps };

struct InstrumentCommand {
  MenuPlace place;
  int order;
  int id;                 // the command id the window and its quick buttons know
  const char* text;  // with its "&" mnemonic
  AccessFunction function;
  int32_t parameter = 0;  // a baud rate override (0: the protocol's speed) or a variant
};

struct QuickButtonPlace {
  const char* text;
  int commandId;
  int row;
  int column;
};

// A job kind the command line may run with this instrument, and the starter
// option it takes (a baud rate or a variant; 0 = none).
struct CommandLineTransfer {
  bool offered = false;
  int32_t option = 0;
};

// How the command line names the instrument (GPS=) and which of its jobs it
// may run. Every job of one name uses the row's protocol.
struct CommandLineUse {
  std::string_view name;  // upper case, as GPS= takes it
  GpsType type;
  CommandLineTransfer trackLog;  // KML_LOG, OZI_LOG/RD_LOG, MPS_LOG, COMP_LOG
  bool igcLog = false;           // IGC_LOG too, with the track log's option
  CommandLineTransfer waypointDownload;
  CommandLineTransfer waypointUpload;
  bool airspaceUpload = false;
  bool flightList = false;
  bool username = false;
};

struct ProtocolRow {
  ProtocolType protocol;
  std::string_view label;  // shown to users
  TrackSource source;      // what a track log of this protocol says it came from
  LineSetup line;          // the protocol's speed and flow control
  RawImage rawImage = RawImage::None;
  // The send commands offer "(Only Name)", "(ID+Name)" and "(Only ID)": the
  // instrument shows only one text per waypoint.
  bool uploadNameRules = false;
  // The track download writes its own file and leaves the loaded log alone.
  bool writesOwnLogbook = false;
  // Characters of an uploaded airspace's name the instrument keeps; 0 for
  // instruments that take outlines as track logs, whose names do not matter.
  size_t airspaceNameLength = 0;
  // Reached over USB: the job opens no serial port.
  bool usb = false;
  AccessFunctionSet offered = 0;                // the operations the program offers
  std::optional<CommandLineUse> commandLine;    // none: no GPS= name
  std::string_view serverName;                  // the TCP server's gps= value; empty: none
  bool serverSessions = false;                  // the server may start its download
  std::span<const InstrumentCommand> commands;  // the window's commands that start it
  std::span<const QuickButtonPlace> quickButtons;
  const InstrumentDriver* driver = nullptr;  // null: not built yet, its commands stay disabled
};

}  // namespace trelvik
