// A simulated Flymaster: PFM sentences and the binary flight stream at
// 57600 baud, written from the protocol description alone.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "base/c_format.hpp"
#include "flymaster/flymaster_flights.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 200;
constexpr char kGood = '\xB1';
constexpr char kBad = '\xB2';
constexpr char kStop = '\xB3';

// Waypoints as the unit sends them: latitude ... name[,flag].
const char* const kBuiltInWaypoints[] = {
    "46.42433,N,8.13500,E,2240,FIESCH Launch",
    "46.40000,N,8.15000,E,1050.6,LANDING  Field , 1 ",
    "33.84167,S,151.20417,W,12,South West",
};

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

// The unit writes its checksums in lower-case hex.
std::string UnitSentence(std::string_view body) {
  std::string text = Sentence(body);
  for (size_t i = text.size() - 4; i < text.size() - 2; ++i) {
    if (text[i] >= 'A' && text[i] <= 'F') text[i] = static_cast<char>(text[i] - 'A' + 'a');
  }
  return text;
}

// "DDMM.mmm" or "DDDMM.mmm" as decimal degrees.
double DegreesOf(const std::string& text) {
  const double value = std::atof(text.c_str());
  const double degrees = static_cast<int>(value / 100);
  return degrees + (value - degrees * 100) / 60.0;
}

std::vector<std::string> Split(const std::string& body) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = body.find(',', start);
    fields.push_back(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

struct Day {
  int year = 2000;
  int month = 1;
  int day = 1;
};

// The calendar day of seconds since 2000-01-01.
Day DayOf(uint32_t seconds) {
  constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  Day d;
  uint32_t left = seconds / 86400;
  while (left >= (d.year % 4 == 0 ? 366u : 365u)) left -= d.year++ % 4 == 0 ? 366u : 365u;
  for (int m = 0;; ++m) {
    const uint32_t n = static_cast<uint32_t>(kMonthDays[m] + (m == 1 && d.year % 4 == 0 ? 1 : 0));
    if (left < n) {
      d.month = m + 1;
      break;
    }
    left -= n;
  }
  d.day = static_cast<int>(left) + 1;
  return d;
}

class FlymasterInstrument : public SimInstrument {
 public:
  FlymasterInstrument(const SimOptions& options, std::vector<FlymasterFlight> flights)
      : product_(Value(options, "product", "GpsSD")),
        serial_(Value(options, "serial", "4711")),
        software_(Value(options, "software", "2.03")),
        pilot_(Value(options, "pilot", "Sim Pilot")),
        ack_(Value(options, "ack", "ok")),
        record_(Value(options, "record", "")),
        badBlock_(std::atoi(Value(options, "bad-block", "-1").c_str())),
        badTimes_(std::atoi(Value(options, "bad-times", "1").c_str())),
        flights_(std::move(flights)) {
    const std::string fault = Value(options, "fault", "");
    faults_.dropKeys = fault == "no-key";
    faults_.deltaFirst = fault == "delta-first";
    faults_.badLatitude = fault == "bad-latitude";
    badListSum_ = fault == "list-checksum";
    for (const char* w : kBuiltInWaypoints) waypoints_.emplace_back(w);
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    for (const char c : bytes) {
      if (c == kGood || c == kBad || c == kStop) {
        Record(CFormat("#%02X\n", static_cast<unsigned>(static_cast<uint8_t>(c))));
        Answer(c, reply);
        continue;
      }
      if (c == '$') line_.clear();
      if (line_.size() < kLongestLine) line_ += c;
      if (c != '\n') continue;
      Record(line_);
      Answer(line_, reply);
      line_.clear();
    }
  }

 private:
  void Record(const std::string& text) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << text;
  }

  // The host's answer to the block just sent.
  void Answer(char answer, std::string& reply) {
    if (stream_.empty()) return;
    if (answer == kStop) {
      stream_.clear();
      return;
    }
    if (answer == kGood) ++next_;
    SendBlock(reply);
  }

  void SendBlock(std::string& reply) {
    if (next_ >= stream_.size()) {
      stream_.clear();
      return;
    }
    std::string block = stream_[next_];
    if (static_cast<int>(next_) == badBlock_ && spoiled_ < badTimes_) {
      ++spoiled_;
      block.back() = static_cast<char>(block.back() ^ 0x5A);
    }
    reply += block;
    if (next_ + 1 == stream_.size()) stream_.clear();  // no answer follows the end block
  }

  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string body;
    if (!ParseSentence(line, body)) return;  // a unit ignores what fails its checksum
    const std::vector<std::string> fields = Split(body);
    const std::string& name = fields[0];
    if (name == "PBRSNP") {
      reply += UnitSentence("PBRSNP," + product_ + "," + pilot_ + "," + serial_ + "," + software_);
    } else if (name == "PFMDNL" && fields.size() > 1 && fields[1] == "LST") {
      SendTrackList(reply);
    } else if (name == "PFMDNL" && fields.size() > 1) {
      StartDownload(fields[1], reply);
    } else if (name == "PFMWPL") {
      for (const std::string& w : waypoints_) reply += UnitSentence("PFMWPL," + w);
    } else if (name == "PFMWPR") {
      TakeWaypoint(fields, reply);
    }
  }

  void SendTrackList(std::string& reply) const {
    for (size_t i = 0; i < flights_.size(); ++i) {
      const FlymasterFlight& f = flights_[i];
      const Day d = DayOf(f.start);
      const uint32_t s = f.start % 86400;
      std::string text = UnitSentence(CFormat("PFMLST,%03d,%03d,%02d.%02d.%02d,%02u:%02u:%02u,%02u:%02u:%02u",
                                              static_cast<int>(flights_.size()), static_cast<int>(i), d.day, d.month,
                                              d.year % 100, s / 3600, s / 60 % 60, s % 60, f.duration / 3600,
                                              f.duration / 60 % 60, f.duration % 60));
      if (badListSum_ && i == 0) text[text.size() - 3] = text[text.size() - 3] == '0' ? '1' : '0';
      reply += text;
    }
  }

  void StartDownload(const std::string& when, std::string& reply) {
    for (const FlymasterFlight& f : flights_) {
      const uint32_t s = f.start % 86400;
      // Only the time of day and the day are compared: enough to tell the simulator's flights apart.
      const std::string key = CFormat("%02u%02u%02u", s / 3600, s / 60 % 60, s % 60);
      if (when.size() != 12 || when.substr(6) != key || !SameDay(f, when)) continue;
      stream_ = FlymasterBlocks(f, static_cast<uint32_t>(std::atol(serial_.c_str())), pilot_, faults_);
      next_ = 0;
      spoiled_ = 0;
      SendBlock(reply);
      return;
    }
  }

  static bool SameDay(const FlymasterFlight& f, const std::string& when) {
    const Day d = DayOf(f.start);
    return when.substr(0, 6) == CFormat("%02d%02d%02d", d.year % 100, d.month, d.day);
  }

  // "PFMWPR", DDMM.mmm, N, DDDMM.mmm, E, empty, name, altitude[, 1]
  void TakeWaypoint(const std::vector<std::string>& f, std::string& reply) {
    if (f.size() < 8) return;
    const double lat = DegreesOf(f[1]);
    const double lon = DegreesOf(f[3]);
    std::string w = CFormat("%.5f,%s,%.5f,%s,%s,%s", lat, f[2].c_str(), lon, f[4].c_str(), f[7].c_str(), f[6].c_str());
    if (f.size() > 8) w += "," + f[8];
    waypoints_.push_back(w);
    if (ack_ == "none") return;
    if (software_ == "1.14") {
      reply += UnitSentence("PFMWPR," + (ack_ == "bad-name" ? std::string("WRONG") : f[6]));
      return;
    }
    std::string echoed = f[6];
    for (char& c : echoed) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) c = ' ';
    }
    if (ack_ == "bad-name") echoed = "WRONG";
    reply += UnitSentence(std::string("PFMWPR,") + (ack_ == "nak" ? "NAK" : "ACK") + "," + echoed);
  }

  std::string product_, serial_, software_, pilot_, ack_, record_;
  int badBlock_;
  int badTimes_;
  int spoiled_ = 0;
  bool badListSum_ = false;
  StreamFaults faults_;
  std::vector<FlymasterFlight> flights_;
  std::vector<std::string> waypoints_;
  std::vector<std::string> stream_;
  size_t next_ = 0;
  std::string line_;
};

}  // namespace

static std::unique_ptr<SimInstrument> CreateFlymasterInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFlight> read;
  for (const std::string& path : options.igcFiles) {
    SimFlight flight;
    if (!LoadFlight(path, flight, error)) return nullptr;
    read.push_back(std::move(flight));
  }
  if (options.igcFiles.empty()) {
    const int count = std::atoi(Value(options, "flights", "2").c_str());
    if (count < 0 || count > 99) {
      error = "--flights must be 0..99";
      return nullptr;
    }
    for (int i = 0; i < count; ++i) read.push_back(GenerateFlight(i));
  }
  std::vector<FlymasterFlight> flights;
  for (const SimFlight& f : read) flights.push_back(FlymasterFlightFromIgc(f));
  const int empty = std::atoi(Value(options, "empty-flight", "-1").c_str());
  if (empty >= 0 && static_cast<size_t>(empty) < flights.size()) flights[static_cast<size_t>(empty)].fixes.clear();
  if (Value(options, "overlap", "0") == "1" && flights.size() > 1) {
    // The second flight starts in the middle of the first one.
    const int64_t shift = static_cast<int64_t>(flights[0].start) + flights[0].duration / 2 - flights[1].start;
    flights[1].start = static_cast<uint32_t>(flights[1].start + shift);
    for (FlymasterFix& fix : flights[1].fixes) fix.time = static_cast<uint32_t>(fix.time + shift);
  }
  return std::make_unique<FlymasterInstrument>(options, std::move(flights));
}

}  // namespace trelvik::sim

namespace trelvik::sim {
namespace {

constexpr std::string_view kFlymasterOptionKeys[] = {
    "product", "serial",    "software",  "pilot", "flights", "empty-flight",
    "overlap", "bad-block", "bad-times", "fault", "ack",     "record",
};

}  // namespace

SimPlugin FlymasterSimPlugin() {
  return {"flymaster",
          "Flymaster ($PFM... and binary flights): --product= (B1NAV takes identifiers only) --serial= --software= "
          "(1.14 acknowledges waypoints in the old form) --pilot=; flights from --igc=FILE in list order or "
          "--flights=N generated (0 the latest); --empty-flight=N, --overlap=1 (flight 1 inside flight 0), "
          "--bad-block=N (block N of a flight sent with a bad checksum --bad-times=K times, default once), "
          "--fault=no-key|delta-first|bad-latitude|list-checksum, --ack=ok|none|nak|bad-name for waypoint "
          "uploads, --record=FILE appends every line received and each answer byte as #B1/#B2/#B3",
          kFlymasterOptionKeys, CreateFlymasterInstrument};
}

}  // namespace trelvik::sim
