// A simulated Digifly Leonardo: identity and flight-list sentences, and its
// waypoint and track memory read and written in hex-encoded PDGF sentences at
// 38400 baud, written from the protocol description alone.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "base/c_format.hpp"
#include "flymaster/flymaster_flights.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 400;
constexpr int kPage = 4096;
constexpr int kRecord = 23;
constexpr int kWaypoint = 44;
constexpr uint32_t kFrom1980To2000 = 630720000;  // seconds from 1980-01-06 to 2000-01-01
constexpr double kPi = 3.14159265358979323846;

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}
bool Flag(const SimOptions& options, const std::string& key) { return Value(options, key, "0") == "1"; }

void PutLe32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutFloat(uint8_t* at, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  PutLe32(at, bits);
}
void PutBe16(uint8_t* at, int32_t v) {
  at[0] = static_cast<uint8_t>(v >> 8 & 0xFF);
  at[1] = static_cast<uint8_t>(v & 0xFF);
}

struct StoredFlight {
  uint32_t start = 0, end = 0;  // seconds since 1980-01-06
  int startPage = 0, startOffset = 0, endPage = 0, endOffset = 0;
};

class LeonardoInstrument : public SimInstrument {
 public:
  LeonardoInstrument(const SimOptions& options, const std::vector<FlymasterFlight>& flights)
      : product_(Value(options, "product", "Leonardo Pro")),
        software_(Value(options, "software", "3.10")),
        serial_(Value(options, "serial", "5150")),
        user_(Value(options, "user", "Sim Pilot")),
        record_(Value(options, "record", "")),
        listCount_(std::atoi(Value(options, "list-count", "-1").c_str())),
        badChecksum_(Flag(options, "bad-checksum")),
        oddHex_(Flag(options, "odd-hex")),
        wrongLength_(Flag(options, "wrong-length")),
        noWriteAck_(Flag(options, "no-write-ack")),
        track_(256 * kPage, 0xFF) {
    for (int page = 228; page <= 231; ++page) waypoints_[page].assign(kPage, 0xFF);
    PutWaypoint(230, 0, "FIESCH", 46.4243, 8.135, 2240, 3, "Fiesch launch");
    PutWaypoint(230, 1, "LAND", 46.40, 8.15, -12, 1, "Landing field");
    PutWaypoint(230, 2, "      ", 46.0, 8.0, 0, 3, "blank name");  // a slot without a name
    PutWaypoint(228, 0, "TP01", -33.5, -70.25, 700, 3, "Turnpoint one");
    const int held = std::atoi(Value(options, "held", "0").c_str());
    for (int i = 0; i < held && i < 186; ++i) {
      PutWaypoint(230 + i / 93, i % 93, CFormat("W%03d", i), 46.0 + i * 0.001, 8.0, 1000 + i, 3, "held");
    }
    int page = Flag(options, "ring-wrap") ? 255 : 0;
    int offset = Flag(options, "ring-wrap") ? kPage - 5 * kRecord - 7 : 0;
    for (const FlymasterFlight& f : flights) Store(f, page, offset);
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    for (const char c : bytes) {
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

  void PutWaypoint(int page, int slot, const std::string& name, double lat, double lon, int alt, int kind,
                   const std::string& longName) {
    uint8_t* r = waypoints_[page].data() + slot * kWaypoint;
    std::memset(r, 0, kWaypoint);
    const std::string n = (name + "      ").substr(0, 6);
    std::memcpy(r, n.data(), 6);
    PutFloat(r + 6, static_cast<float>(lat * kPi / 180));
    PutFloat(r + 10, static_cast<float>(lon * kPi / 180));
    r[14] = static_cast<uint8_t>(alt & 0xFF);
    r[15] = static_cast<uint8_t>(alt >> 8 & 0xFF);
    r[16] = static_cast<uint8_t>(kind);
    const std::string l = (longName + std::string(16, ' ')).substr(0, 16);
    std::memcpy(r + 17, l.data(), 16);
  }

  // Writes a flight's records into the ring from (page, offset), which move on.
  void Store(const FlymasterFlight& f, int& page, int& offset) {
    StoredFlight s;
    s.start = f.start + kFrom1980To2000;
    s.end = (f.fixes.empty() ? f.start : f.fixes.back().time) + kFrom1980To2000;
    s.startPage = page;
    s.startOffset = offset;
    s.endPage = page;
    s.endOffset = offset > 0 ? offset - 1 : 0;
    for (size_t i = 0; i < f.fixes.size(); ++i) {
      if (offset + kRecord > kPage) {
        page = (page + 1) % 256;
        offset = 0;
      }
      const FlymasterFix& fix = f.fixes[i];
      uint8_t* r = track_.data() + page * kPage + offset;
      std::memset(r, 0, kRecord);
      r[0] = i == 0 ? 1 : 0;
      PutLe32(r + 1, fix.time + kFrom1980To2000);
      PutFloat(r + 5, static_cast<float>(fix.lat / 60000.0 * kPi / 180));
      PutFloat(r + 9, static_cast<float>(-fix.lon / 60000.0 * kPi / 180));
      PutBe16(r + 13, fix.baroAlt);
      PutBe16(r + 21, fix.gpsAlt);
      s.endPage = page;
      s.endOffset = offset + kRecord - 1;
      offset += kRecord;
    }
    flights_.push_back(s);
  }

  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string body;
    if (!ParseSentence(line, body)) return;
    std::vector<int> n;
    const std::string name = body.substr(0, body.find(','));
    if (name == "PDGFVID") {
      reply += Sentence("PDGFVID," + product_ + "," + software_ + "," + serial_ + "," + user_);
    } else if (name == "PDGFFLL") {
      std::string text = CFormat("PDGFFLL,%d,", listCount_ >= 0 ? listCount_ : static_cast<int>(flights_.size()));
      for (const StoredFlight& f : flights_) {
        uint8_t e[14];
        PutLe32(e, f.start);
        e[4] = static_cast<uint8_t>(f.startPage);
        e[5] = static_cast<uint8_t>(f.startOffset >> 8);
        e[6] = static_cast<uint8_t>(f.startOffset);
        PutLe32(e + 7, f.end);
        e[11] = static_cast<uint8_t>(f.endPage);
        e[12] = static_cast<uint8_t>(f.endOffset >> 8);
        e[13] = static_cast<uint8_t>(f.endOffset);
        for (const uint8_t b : e) text += CFormat("%02X", b);
      }
      reply += Sentence(text);
    } else if (name == "PDGFRMM") {
      ReadMemory(body, reply);
    } else if (name == "PDGFWMM") {
      WriteMemory(body, reply);
    }
  }

  void ReadMemory(const std::string& body, std::string& reply) {
    int kind = 0, page = 0, offset = 0, length = 0;
    if (std::sscanf(body.c_str(), "PDGFRMM,%d,%d,%d,%d", &kind, &page, &offset, &length) != 4) return;
    if (length < 0 || offset < 0 || offset + length > kPage || page < 0 || page > 255) return;
    const uint8_t* at = nullptr;
    if (kind == 2) at = track_.data() + page * kPage + offset;
    if (kind == 1 && waypoints_.count(page) != 0) at = waypoints_[page].data() + offset;
    if (at == nullptr) return;
    std::string text = "PDGFRMM,";
    for (int i = 0; i < length - (wrongLength_ ? 1 : 0); ++i) text += CFormat("%02X", at[i]);
    if (oddHex_) text += "A";
    std::string sentence = Sentence(text);
    if (badChecksum_) sentence[sentence.size() - 3] = sentence[sentence.size() - 3] == '0' ? '1' : '0';
    reply += sentence;
  }

  void WriteMemory(const std::string& body, std::string& reply) {
    int kind = 0, page = 0, offset = 0, length = 0, used = 0;
    if (std::sscanf(body.c_str(), "PDGFWMM,%d,%d,%d,%d,%n", &kind, &page, &offset, &length, &used) != 4) return;
    if (kind != 1 || waypoints_.count(page) == 0 || offset < 0 || length < 0 || offset + length > kPage ||
        body.size() != static_cast<size_t>(used + 2 * length)) {
      return;
    }
    for (int i = 0; i < length; ++i) {
      waypoints_[page][static_cast<size_t>(offset + i)] =
          static_cast<uint8_t>(std::strtol(body.substr(static_cast<size_t>(used + 2 * i), 2).c_str(), nullptr, 16));
    }
    if (!noWriteAck_) reply += "$PDGFWMM*42\r\n";
  }

  std::string product_, software_, serial_, user_, record_;
  int listCount_;
  bool badChecksum_, oddHex_, wrongLength_, noWriteAck_;
  std::vector<uint8_t> track_;
  std::map<int, std::vector<uint8_t>> waypoints_;
  std::vector<StoredFlight> flights_;
  std::string line_;
};

}  // namespace

static std::unique_ptr<SimInstrument> CreateLeonardoInstrument(const SimOptions& options, std::string& error) {
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
    // Stored oldest first, as the instrument records them.
    for (int i = count - 1; i >= 0; --i) read.push_back(GenerateFlight(i));
  }
  std::vector<FlymasterFlight> flights;
  for (const SimFlight& f : read) flights.push_back(FlymasterFlightFromIgc(f));
  const int empty = std::atoi(Value(options, "empty-flight", "-1").c_str());
  if (empty >= 0 && static_cast<size_t>(empty) < flights.size()) flights[static_cast<size_t>(empty)].fixes.clear();
  return std::make_unique<LeonardoInstrument>(options, flights);
}

}  // namespace trelvik::sim

namespace trelvik::sim {
namespace {

constexpr std::string_view kLeonardoOptionKeys[] = {
    "product",      "software", "serial",       "user",         "flights", "empty-flight", "list-count",
    "bad-checksum", "odd-hex",  "wrong-length", "no-write-ack", "held",    "ring-wrap",    "record",
};

}  // namespace

SimPlugin LeonardoSimPlugin() {
  return {"leonardo",
          "Digifly Leonardo ($PDGF... memory pages): --product= --software= --serial= --user= (empty: no user "
          "name); flights from --igc=FILE or --flights=N generated, stored oldest first in the track ring "
          "(--ring-wrap=1 starts it on the last page), --empty-flight=N, --list-count=N announces N tracks; "
          "memory replies with --bad-checksum=1, --odd-hex=1 or --wrong-length=1; --no-write-ack=1 leaves "
          "writes unanswered; --held=N fills N user waypoint slots (186: full); --record=FILE appends every "
          "line received",
          kLeonardoOptionKeys, CreateLeonardoInstrument};
}

}  // namespace trelvik::sim
