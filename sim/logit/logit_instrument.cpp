// A simulated LogIt logger (a TRACKLOGGER by default): "$PMLR" commands at
// 4800 baud, the track log in binary frames after the speed request (the line
// speed itself is the program's business: a pseudo-terminal has none), the
// restart from a given point, erase and owner name. Written from the protocol
// description alone.
#include <cstdlib>

#include "pmlr_frames.hpp"
#include "sim_fixes.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr uint64_t kFrameDelayMs = 800;
constexpr size_t kLongestLine = 300;
constexpr int kRecordsPerFrame = 16;

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

int Number(const SimOptions& options, const std::string& key, int fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : std::atoi(found->second.c_str());
}

class LogItInstrument : public SimInstrument {
 public:
  LogItInstrument(const SimOptions& options, std::vector<LoggerFix> fixes)
      : model_(Value(options, "model", "TRACKLOGGER")),
        description_(Value(options, "description", "GPS logger")),
        serial_(Value(options, "serial", "000815")),
        firmware_(Value(options, "firmware", "2.10")),
        record_(Value(options, "record", "")),
        fixes_(std::move(fixes)),
        badIdChecksum_(Number(options, "bad-id-checksum", 0) != 0),
        badChecksum_(Number(options, "bad-checksum", -1)),
        skipFrame_(Number(options, "skip-frame", -1)),
        skipPoint_(Number(options, "skip-point", -1)),
        fewer_(Number(options, "fewer", 0)),
        breakAlways_(Number(options, "break-always", 0) != 0),
        noRestart_(Number(options, "no-restart", 0) != 0) {}

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
  }

 private:
  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.starts_with("$PMLR,IDGPS,01,")) {
      // The owner name: "$PMLR,IDGPS,01,<9 characters>,       *00".
      name_ = line.substr(15, 9);
      return;
    }
    // The 4800-baud track request is known with a sum of its own.
    if (!line.starts_with("$PMLR,") || (!PmlrCommandSumMatches(line) && line != "$PMLR,24,02,0110,0388")) return;
    if (line.starts_with("$PMLR,26,01,01,")) {
      std::string answer = Sentence("PMLR,IDGPS,01," + model_ + "," + description_ + "," + serial_ + "," + firmware_);
      if (badIdChecksum_) answer[answer.size() - 3] = answer[answer.size() - 3] == '0' ? '1' : '0';
      reply += answer;
    } else if (line.starts_with("$PMLR,58,00,")) {
      reply += Sentence("PMLR,NUMTRACKPOINTS," + std::to_string(fixes_.size()));
    } else if (line.starts_with("$PMLR,24,02,")) {
      due_ = Transfer();
      dueAt_ = now_ + kFrameDelayMs;
    } else if (line.starts_with("$PMLR,59,")) {
      restartFrom_ = std::atoi(line.c_str() + 9);
    } else if (line.starts_with("$PMLR,99,00,")) {
      fixes_.clear();
    }
  }

  // DEBUT (or RESTART after a "$PMLR,59"), the records from the point asked
  // for, numbered from 1, and FIN; the first transfer carries the faults.
  std::string Transfer() {
    const bool faulty = transfers_++ == 0 || breakAlways_;
    const size_t from = restartFrom_ > 0 ? static_cast<size_t>(restartFrom_ - 1) : 0;
    const bool restarting = restartFrom_ > 0 && !noRestart_;
    restartFrom_ = 0;
    std::vector<std::string> bodies = {restarting ? "RESTART" : "DEBUT"};
    std::string entries;
    int count = 0;
    uint16_t number = 0;
    const size_t end = fixes_.size() - std::min(fixes_.size(), static_cast<size_t>(std::max(0, fewer_)));
    for (size_t i = from; i < end; ++i) {
      ++number;
      if (!faulty || static_cast<int>(i + 1) != skipPoint_) {
        entries += PointEntryBytes(number, fixes_[i], i == 0 ? 1 : 0);
      }
      if (++count == kRecordsPerFrame || i + 1 == end) {
        bodies.push_back(PmlrDataBody(static_cast<int>(entries.size() / 18), entries));
        entries.clear();
        count = 0;
      }
    }
    bodies.emplace_back("FIN");
    std::string out;
    uint8_t frameNumber = 7;
    for (size_t k = 0; k < bodies.size(); ++k) {
      const int index = static_cast<int>(k);
      const std::string frame = PmlrFrame(frameNumber++, 'T', 1, bodies[k], faulty && index == badChecksum_ ? 1 : 0);
      if (!faulty || index != skipFrame_) out += frame;
    }
    return out;
  }

  std::string model_, description_, serial_, firmware_, record_;
  std::vector<LoggerFix> fixes_;
  bool badIdChecksum_;
  int badChecksum_, skipFrame_, skipPoint_, fewer_;
  bool breakAlways_, noRestart_;
  int restartFrom_ = 0;
  int transfers_ = 0;
  std::string name_;
  std::string line_;
  std::string due_;
  uint64_t dueAt_ = 0;
  uint64_t now_ = 0;
};

std::unique_ptr<SimInstrument> CreateLogItInstrument(const SimOptions& options, std::string& error) {
  std::vector<LoggerFix> fixes;
  if (!options.igcFiles.empty()) {
    if (!LoadFixes(options.igcFiles.front(), fixes, error)) return nullptr;
  } else {
    const int count = Number(options, "points", 40);
    if (count < 0 || count > 65535) {
      error = "--points must be 0..65535";
      return nullptr;
    }
    fixes = GenerateFixes(count);
  }
  return std::make_unique<LogItInstrument>(options, std::move(fixes));
}

constexpr std::string_view kLogItOptionKeys[] = {
    "model",        "description", "serial",     "firmware", "record",       "points",     "bad-id-checksum",
    "bad-checksum", "skip-frame",  "skip-point", "fewer",    "break-always", "no-restart",
};

}  // namespace

SimPlugin LogItSimPlugin() {
  return {"logit",
          "LogIt logger ($PMLR, binary track frames): --model= (default TRACKLOGGER, which counts its points and "
          "restarts) --description= --serial= --firmware= (1.02 answers with any checksum), positions from "
          "--igc=FILE or --points=N generated; faults of the first transfer: --bad-checksum=K (frame K, 0 = DEBUT, "
          "has its sum off by one), --skip-frame=K, --skip-point=N; --break-always=1 spoils every transfer, "
          "--no-restart=1 answers a restart with DEBUT, --fewer=N sends N points fewer than announced, "
          "--bad-id-checksum=1; --record=FILE appends every byte received",
          kLogItOptionKeys, CreateLogItInstrument};
}

}  // namespace trelvik::sim
