#include "automation/usage_text.hpp"

#include "instruments/protocol_table.hpp"

namespace trelvik {
namespace {

// The GPS= names in table order, wrapped under the option's column, and the
// ones this version runs.
std::string InstrumentNames() {
  constexpr size_t kWidth = 78;
  const std::string indent = "\n                      ";
  std::string text;
  std::string built;
  size_t column = 0;
  for (const ProtocolRow& row : ProtocolTable()) {
    if (!row.commandLine) continue;
    std::string name(row.commandLine->name);
    if (row.commandLine->type == GpsType::Garmin) name += " (default)";
    if (!text.empty()) {
      text += ",";
      if (column + name.size() + 2 > kWidth) {
        text += indent;
        column = 0;
      } else {
        text += " ";
      }
    }
    text += name;
    column += name.size() + 2;
    const bool runs = RowRuns(row, AccessFunction::DownloadTrackLog) || RowRuns(row, AccessFunction::DownloadWaypoints);
    if (runs) built += (built.empty() ? "" : ", ") + std::string(row.commandLine->name);
  }
  return text + indent + "(this version runs " + built + "; the others are refused)";
}

}  // namespace

std::string UsageText() {
  return "Usage: trelvik [/OPTION[=value] ...]\n"
         "       trelvik FILE            open a track log file\n"
         "       trelvik --help | --version\n"
         "\n"
         "Keys may be typed in any case. A value with blanks is quoted: /PILOT=\"Anna Berg\".\n"
         "\n"
         "Instrument and port:\n"
         "  /GPS=type           " + InstrumentNames() + "\n"
         "  /COM=n|path         serial port: n = 1, 2, ... names /dev/ttyS0, /dev/ttyS1, ...; or a device path\n"
         "  /USB                Garmin receiver on USB\n"
         "  /TIMEOUT=n          attempts to reach the instrument (0..86400; default 30)\n"
         "  /PWROFF             switch the instrument off after the transfer\n"
         "  /TRACK=list         flights to download from the flight list, e.g. /TRACK=0,2,6 (0 = the first listed)\n"
         "\n"
         "Jobs (the last one given counts):\n"
         "  /KML_LOG=file       download a track log, save it as KML\n"
         "  /OZI_LOG=file       download a track log, save it as an OziExplorer track file\n"
         "  /RD_LOG=file        the same as /OZI_LOG\n"
         "  /IGC_LOG=path       download a track log, save it as IGC (a path ending in / is a directory)\n"
         "  /MPS_LOG=file       download a track log, save it as a MapSource file\n"
         "  /RD_WPT=file        download waypoints, save them as an OziExplorer waypoint file\n"
         "  /RD_GEO_WPT=file    download waypoints, save them in the GEO waypoint format\n"
         "  /WR_WPT=file        upload the waypoints of a file (names from the descriptions)\n"
         "  /WR_WPT2=file       upload the waypoints of a file (names: short name and description)\n"
         "  /WR_CTR=file        upload the airspaces of an OpenAir file\n"
         "  /USERNAME=name      upload the pilot name (FLYMASTER)\n"
         "  /FLIGHTLIST         send the instrument's flight list to the /NOTIFY socket\n"
         "  /LOGFILE=file       open a track log file\n"
         "  /CHKKML=file        check the signature of a KML file (exit code 1 when it is valid)\n"
         "  /IGC2KML=file       convert an IGC file to KML and end\n"
         "  /DAT2KML=file       convert a .dat track file to KML and end\n"
         "  /COMP_LOG=KML|IGC   competition download into the competition output\n"
         "\n"
         "Output and competition:\n"
         "  /OVERWRITE          replace existing output files\n"
         "  /PILOT=name         pilot name for the output\n"
         "  /ID=text            glider id for the output\n"
         "  /COMP_DIR=dir       competition output folder\n"
         "  /COMP_FS=file       read the pilot list from a flight score file\n"
         "  /COMP_SPECIAL       competition download in its special variant\n"
         "  /COMPID=n           competition id of the pilot (0..17999999)\n"
         "  /CIVLID=n           CIVL id of the pilot (0..17999999)\n"
         "  /FILTER=t           competition window start, t = YYYYMMDDHHMMSS (UTC)\n"
         "  /FILTEREND=t        competition window end, t = YYYYMMDDHHMMSS (UTC)\n"
         "  /NOCHECK            no speed analysis of a competition download\n"
         "  /NOSPLIT            do not split the track log at gaps\n"
         "  /NOLOOPOPT          no out-and-return or triangle optimisation\n"
         "  /SCORE=XCONTEST|FFVL  with /IGC2KML or /LOGFILE: print the flight's exact score\n"
         "                      under today's XContest or FFVL rules\n"
         "\n"
         "Run:\n"
         "  /EXIT               end the program when the job is done\n"
         "  /WIN=0|1|2          window hidden (no window at all), minimised or normal\n"
         "  /POSX=n             x position of dialogs and message boxes\n"
         "  /POSY=n             y position of dialogs and message boxes\n"
         "  /NOTIFY=socket      Unix datagram socket that gets the run's notifications\n"
         "  /SESSION=n          data word of the notifications (default: milliseconds at start)\n"
         "  /SENDLOG=n          notify positions every n seconds during a download\n"
         "  /SERVER=[addr:]port run the TCP command server without a window until SIGINT or SIGTERM\n"
         "                      (default address 127.0.0.1: this machine only; 0.0.0.0 exposes it)\n"
         "\n"
         "Exit codes:\n"
         "  0  success\n"
         "  1  the job failed (for /CHKKML: the signature is valid)\n"
         "  2  the command line could not be parsed, or a start without a window had no job\n";
}

}  // namespace trelvik
