// Simulated XC Trainer and Top Navigator: instruments that send on their own
// once the pilot starts a transfer. Here the "pilot" starts it a moment after
// the program has set its side of the line up, since a pseudo-terminal holds
// no bytes through the purge of an open. The track log goes out in one piece;
// waypoints one record or line at a time, each after the program's "@@OK".
#include <cstdlib>

#include "pmlr_frames.hpp"
#include "sim_plugin.hpp"
#include "xctrainer/xctrainer_logs.hpp"

namespace trelvik::sim {
namespace {

enum class Transfer { Track, Waypoints, None };

int Number(const SimOptions& options, const std::string& key, int fallback) {
  return std::atoi(OptionValue(options, key, std::to_string(fallback)).c_str());
}

std::set<int> NumberList(const std::string& text) {
  std::set<int> numbers;
  size_t at = 0;
  while (at < text.size()) {
    numbers.insert(std::atoi(text.c_str() + at));
    const size_t comma = text.find(',', at);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return numbers;
}

class SelfSendingInstrument : public SimInstrument {
 public:
  SelfSendingInstrument(bool topNav, const SimOptions& options, std::vector<LoggerFix> fixes)
      : topNav_(topNav),
        mxp_(OptionValue(options, "log", "tncm") == "mxp"),
        record_(OptionValue(options, "record", "")),
        setupRecord_(OptionValue(options, "record-setup", "")),
        sendAfterMs_(static_cast<uint64_t>(std::max(0, Number(options, "send-after", 300)))),
        badRecord_(Number(options, "bad-record", 0)),
        fixes_(std::move(fixes)) {
    const std::string send = OptionValue(options, "send", "track");
    transfer_ = send == "waypoints" ? Transfer::Waypoints : send == "none" ? Transfer::None : Transfer::Track;
    log_.topNav = topNav;
    log_.format = Number(options, "format", topNav ? 1 : 0);
    log_.serial = static_cast<uint32_t>(Number(options, "serial", 0x1234));
    log_.firmware = (OptionValue(options, "firmware", "1234") + "0000").substr(0, 4);
    log_.utcOffset = Number(options, "utc-offset", 0);
    log_.announce = Number(options, "announce", -1);
    log_.badChecksumLine = Number(options, "bad-checksum", -1);
    log_.repeatRecordLine = Number(options, "repeat-record", -1);
    log_.shortLine = Number(options, "short-line", -1);
    log_.blockGap = Number(options, "block-gap", 30);
    log_.badLines = NumberList(OptionValue(options, "bad-line", ""));
    log_.endMark = OptionValue(options, "no-eof", "0") != "1";
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    RecordBytes(record_, bytes);
    heard_ += bytes;
    // Each "@@OK" lets the next waypoint go.
    for (size_t at = heard_.find("@@OK"); at != std::string::npos; at = heard_.find("@@OK")) {
      heard_.erase(0, at + 4);
      SendNextWaypoint(reply);
    }
    if (heard_.size() > 3) heard_.erase(0, heard_.size() - 3);
  }

  // Only the speeds of these instruments count as the program listening: the
  // pseudo-terminal's own setup comes first.
  void LineSetup(uint64_t nowMs, int baud, bool xonXoff) override {
    if (baud != 9600 && baud != 57600) return;
    RecordBytes(setupRecord_, std::to_string(baud) + (xonXoff ? " xon/xoff\n" : "\n"));
    if (!armed_) {
      armed_ = true;
      startAt_ = nowMs + sendAfterMs_;
    }
  }

  void Tick(uint64_t nowMs, std::string& reply) override {
    if (!armed_ || started_ || nowMs < startAt_) return;
    started_ = true;
    switch (transfer_) {
      case Transfer::Track: reply += mxp_ ? MxpLog(fixes_, log_) : TncmLog(fixes_, log_); break;
      case Transfer::Waypoints: SendNextWaypoint(reply); break;
      case Transfer::None: break;
    }
  }

 private:
  void SendNextWaypoint(std::string& reply) {
    if (transfer_ != Transfer::Waypoints || !started_) return;
    const std::vector<SimTurnpoint>& points = BuiltInTurnpoints();
    if (topNav_) {
      const std::vector<std::string> lines = TopNavWaypointLines(points);
      if (next_ < lines.size()) reply += lines[next_++] + "\r\n";
      return;
    }
    if (next_ < points.size()) {
      reply += WaypointRecordBytes(points[next_], static_cast<int>(next_) + 1 == badRecord_);
      ++next_;
    }
  }

  bool topNav_;
  bool mxp_;
  std::string record_, setupRecord_;
  uint64_t sendAfterMs_;
  int badRecord_;
  std::vector<LoggerFix> fixes_;
  Transfer transfer_ = Transfer::Track;
  SimLogSettings log_;
  bool armed_ = false;
  bool started_ = false;
  uint64_t startAt_ = 0;
  size_t next_ = 0;
  std::string heard_;
};

std::unique_ptr<SimInstrument> Create(bool topNav, const SimOptions& options, std::string& error) {
  std::vector<LoggerFix> fixes;
  if (!options.igcFiles.empty()) {
    if (!LoadFixes(options.igcFiles.front(), fixes, error)) return nullptr;
  } else {
    const int count = Number(options, "points", 60);
    if (count < 0 || count > 65535) {
      error = "--points must be 0..65535";
      return nullptr;
    }
    fixes = GenerateFixes(count);
  }
  const int format = Number(options, "format", topNav ? 1 : 0);
  if (format < 0 || format > 2) {
    error = "--format must be 0, 1 or 2";
    return nullptr;
  }
  return std::make_unique<SelfSendingInstrument>(topNav, options, std::move(fixes));
}

constexpr std::string_view kOptionKeys[] = {
    "log",     "send",         "send-after",    "record",     "record-setup", "points",    "format",
    "serial",  "firmware",     "utc-offset",    "announce",   "bad-checksum", "repeat-record", "short-line",
    "block-gap", "bad-line",   "no-eof",        "bad-record",
};

constexpr std::string_view kHelpTail =
    " --log=tncm|mxp (the track log dialect), --send=track|waypoints|none (what the pilot starts, --send-after=MS "
    "after the program sets the line up), positions from --igc=FILE or --points=N generated (TNCM: one a second, 30 "
    "to a block), --format=0|1|2 (pressure, GPS or both altitudes), --serial=N, --firmware=abcd, --utc-offset=S "
    "(the instrument's clock is S seconds ahead of UTC); faults: MXP --announce=N (the header's count), "
    "--bad-checksum=K (line K, 0 = header, off by one), --repeat-record=K, --short-line=K; TNCM --bad-line=K,L,... "
    "(position lines that are not hex), --block-gap=S (seconds between time lines), --no-eof=1; waypoints "
    "--bad-record=K (record K's sum off by one; the XONOFF record holds 0x11 and 0x13); --record=FILE appends every "
    "byte received, --record-setup=FILE every line setup the program makes";

}  // namespace

SimPlugin XcTrainerSimPlugin() {
  static const std::string help = "XC Trainer (TNCM or MXP \"@xc\" log, binary waypoint records):" +
                                  std::string(kHelpTail);
  return {"xctrainer", help, kOptionKeys,
          [](const SimOptions& options, std::string& error) { return Create(false, options, error); }};
}

SimPlugin TopNavSimPlugin() {
  static const std::string help = "Top Navigator (TNCM or MXP \"@tn\" log in local time, waypoint text lines):" +
                                  std::string(kHelpTail);
  return {"topnav", help, kOptionKeys,
          [](const SimOptions& options, std::string& error) { return Create(true, options, error); }};
}

}  // namespace trelvik::sim
