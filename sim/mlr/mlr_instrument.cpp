// A simulated MLR receiver: "$PMLR" commands at 4800 baud, track logs and
// waypoints in binary frames (the line speed is the program's business: a
// pseudo-terminal has none), and $GPWPL waypoint sentences both ways.
// Written from the protocol description alone.
#include <cmath>
#include <cstdlib>

#include "pmlr_frames.hpp"
#include "sim_fixes.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

// The program pauses and switches its speed after a request; the frames wait for it.
constexpr uint64_t kFrameDelayMs = 800;
constexpr uint64_t kSentencePauseMs = 100;
constexpr size_t kLongestLine = 300;

struct SimWaypoint {
  std::string name;  // at most 6
  std::string description;
  double lat = 0, lon = 0;
  int altDecimetres = 0;
};

const SimWaypoint kBuiltInWaypoints[] = {
    {"FIESCH", "Fiesch launch", 46.42433, 8.13500, 22400},
    {"LAND", "Fiesch landing", 46.40617, 8.13833, 10500},
    {"SOUTH", "Sea level", -33.84167, -151.20417, -10},
};

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

int Number(const SimOptions& options, const std::string& key, int fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : std::atoi(found->second.c_str());
}

// ddmm.mmm with its hemisphere, as $GPWPL writes angles.
std::string Angle(double degrees, int degreeDigits, char positive, char negative) {
  const double magnitude = std::fabs(degrees);
  const int whole = static_cast<int>(magnitude);
  const double minutes = (magnitude - whole) * 60.0;
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%06.3f,%c", degreeDigits, whole, minutes, degrees < 0 ? negative : positive);
  return text;
}

class MlrInstrument : public SimInstrument {
 public:
  MlrInstrument(const SimOptions& options, std::vector<LoggerFix> fixes)
      : product_(Value(options, "product", "SP24XC")),
        serial_(Value(options, "serial", "123456")),
        software_(Value(options, "software", "2.72")),
        shown_(Value(options, "shown", "XC 24")),
        record_(Value(options, "record", "")),
        fixes_(std::move(fixes)),
        perFrame_(std::max(1, std::min(27, Number(options, "per-frame", 27)))),
        firstFrame_(static_cast<uint8_t>(Number(options, "first-frame", 250))),
        badChecksum_(Number(options, "bad-checksum", -1)),
        skipFrame_(Number(options, "skip-frame", -1)),
        skipPoint_(Number(options, "skip-point", -1)),
        badCount_(Number(options, "bad-count", 0)),
        wplRounds_(Number(options, "wpl", 0)) {
    for (const SimWaypoint& w : kBuiltInWaypoints) waypoints_.push_back(w);
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    RecordBytes(record_, bytes);
    for (const char c : bytes) {
      if (c == '$') line_.clear();
      if (line_.size() < kLongestLine) line_ += c;
      if (c != '\n') continue;
      Answer(line_, reply);
      line_.clear();
    }
  }

  void Tick(uint64_t nowMs, std::string& reply) override {
    now_ = nowMs;
    if (!due_.empty() && nowMs >= dueAt_) {
      reply += due_;
      due_.clear();
    }
    if (!wplQueue_.empty() && nowMs >= dueAt_) {
      reply += wplQueue_.front();
      wplQueue_.erase(wplQueue_.begin());
      dueAt_ = nowMs + kSentencePauseMs;
    }
  }

 private:
  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.starts_with("$GPWPL,")) {
      TakeWaypoint(line);
      return;
    }
    if (!line.starts_with("$PMLR,") || !PmlrCommandSumMatches(line)) return;
    if (line.starts_with("$PMLR,26,01,01,")) {
      reply += Sentence("PMLR,IDGPS,01," + product_ + ",0," + serial_ + "," + software_ + "," + shown_);
    } else if (line.starts_with("$PMLR,06,00,")) {
      // The user starts the waypoint transmission once the program listens.
      if (wplRounds_ > 0 && !wplSent_) QueueWaypointSentences();
    } else if (line.starts_with("$PMLR,24,02,0101,")) {
      Schedule(TrackFrames());
    } else if (line.starts_with("$PMLR,24,02,0301,")) {
      Schedule(WaypointFrames());
    }
  }

  void Schedule(std::string frames) {
    due_ = std::move(frames);
    dueAt_ = now_ + kFrameDelayMs;
  }

  // The frames of one transfer, numbered on from firstFrame_, with the faults asked for.
  std::string Frames(char letter, uint8_t kindByte, const std::vector<std::string>& bodies) {
    std::string out;
    uint8_t number = firstFrame_;
    for (size_t i = 0; i < bodies.size(); ++i) {
      const int index = static_cast<int>(i);
      const std::string frame = PmlrFrame(number++, letter, kindByte, bodies[i], index == badChecksum_ ? 1 : 0);
      if (index != skipFrame_) out += frame;
    }
    return out;
  }

  std::string TrackFrames() {
    std::vector<std::string> bodies = {"DEBUT"};
    std::string entries;
    int count = 0;
    uint16_t number = 0;
    for (size_t i = 0; i < fixes_.size(); ++i) {
      ++number;
      if (static_cast<int>(number) == skipPoint_) continue;
      entries += PointEntryBytes(number, fixes_[i], i == fixes_.size() / 2 ? 1 : 0);
      if (++count == perFrame_ || i + 1 == fixes_.size()) {
        bodies.push_back(PmlrDataBody(bodies.size() == 1 && badCount_ > 0 ? badCount_ : count, entries));
        entries.clear();
        count = 0;
      }
    }
    bodies.emplace_back("FIN");
    return Frames('T', 1, bodies);
  }

  std::string WaypointFrames() {
    std::vector<std::string> bodies = {"DEBUT"};
    std::string entries;
    for (const SimWaypoint& w : waypoints_) {
      entries += WaypointEntryBytes(w.name, 1'400'000'000u, w.lat, w.lon, w.altDecimetres);
    }
    if (!waypoints_.empty()) bodies.push_back(PmlrDataBody(static_cast<int>(waypoints_.size()), entries));
    bodies.emplace_back("FIN");
    return Frames('W', 2, bodies);
  }

  void QueueWaypointSentences() {
    wplSent_ = true;
    for (int round = 0; round < wplRounds_; ++round) {
      for (const SimWaypoint& w : waypoints_) {
        std::string name = w.name;
        name.resize(6, ' ');
        std::string description = w.description;
        description.resize(22, ' ');
        wplQueue_.push_back(Sentence("GPWPL," + Angle(w.lat, 2, 'N', 'S') + "," + Angle(w.lon, 3, 'E', 'W') + "," +
                                     name + "A" + description));
      }
    }
    dueAt_ = now_ + kSentencePauseMs;
  }

  // "$GPWPL,ddmm.mmm,N,dddmm.mmm,E,<name 6><symbol><description>*hh": kept when its checksum is right.
  void TakeWaypoint(const std::string& line) {
    std::string body;
    if (!ParseSentence(line, body)) return;
    const size_t nameAt = body.find(',', body.find(',', body.find(',', body.find(',', 6) + 1) + 1) + 1);
    if (nameAt == std::string::npos) return;
    SimWaypoint w;
    const std::string field = body.substr(nameAt + 1);
    w.name = field.substr(0, 6);
    while (!w.name.empty() && w.name.back() == ' ') w.name.pop_back();
    w.description = field.size() > 7 ? field.substr(7) : "";
    w.lat = std::atof(body.c_str() + 6);
    waypoints_.push_back(w);
  }

  std::string product_, serial_, software_, shown_, record_;
  std::vector<LoggerFix> fixes_;
  int perFrame_;
  uint8_t firstFrame_;
  int badChecksum_, skipFrame_, skipPoint_, badCount_, wplRounds_;
  bool wplSent_ = false;
  std::vector<SimWaypoint> waypoints_;
  std::vector<std::string> wplQueue_;
  std::string line_;
  std::string due_;
  uint64_t dueAt_ = 0;
  uint64_t now_ = 0;
};

std::unique_ptr<SimInstrument> CreateMlrInstrument(const SimOptions& options, std::string& error) {
  std::vector<LoggerFix> fixes;
  if (!options.igcFiles.empty()) {
    if (!LoadFixes(options.igcFiles.front(), fixes, error)) return nullptr;
  } else {
    const int count = Number(options, "points", 60);
    if (count < 0 || count > 200000) {
      error = "--points must be 0..200000";
      return nullptr;
    }
    fixes = GenerateFixes(count);
  }
  return std::make_unique<MlrInstrument>(options, std::move(fixes));
}

constexpr std::string_view kMlrOptionKeys[] = {
    "product",     "serial",       "software",   "shown",      "record",    "points", "per-frame",
    "first-frame", "bad-checksum", "skip-frame", "skip-point", "bad-count", "wpl",
};

}  // namespace

SimPlugin MlrSimPlugin() {
  return {"mlr",
          "MLR receiver ($PMLR, binary frames, $GPWPL): --product= --serial= --software= --shown= (identification), "
          "positions from --igc=FILE or --points=N generated, --per-frame=N entries per track frame, "
          "--first-frame=N first frame number (default 250: the numbers wrap); faults: --bad-checksum=K (frame K "
          "of a transfer, 0 = DEBUT, has its sum off by one), --skip-frame=K, --skip-point=N, --bad-count=N (the "
          "first data frame claims N entries); --wpl=N sends the waypoint list N times as $GPWPL once the program "
          "listens (1: the list never repeats); --record=FILE appends every byte received",
          kMlrOptionKeys, CreateMlrInstrument};
}

}  // namespace trelvik::sim
