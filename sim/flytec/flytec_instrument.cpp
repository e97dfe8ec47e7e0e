// A simulated Flytec/Braeuniger instrument: $PBR sentences at 57600 baud with
// XON/XOFF, written from the protocol description alone.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "base/c_format.hpp"
#include "flytec/flytec_flights.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 200;

struct SimWaypoint {
  std::string fields;  // latitude ... altitude, as the instrument sends them
};

// The airspace list as the instrument keeps it: one $PBRCTR body per line.
const char* const kBuiltInAirspaces[] = {
    "PBRCTR,006,000,CTR Sion         ,0200",
    "PBRCTR,006,001,GND              ",
    "PBRCTR,006,002,P,4614.000,N,00720.000,E",
    "PBRCTR,006,003,P,4616.500,N,00721.000,E",
    "PBRCTR,006,004,P,4615.250,N,00724.750,E",
    "PBRCTR,006,005,P,4613.125,N,00722.500,E",
    "PBRCTR,003,000,TMA Circle       ,0500",
    "PBRCTR,003,001,FL 95            ",
    "PBRCTR,003,002,C,4630.000,N,00800.000,E,05000",
    "PBRCTR,006,000,Arc Zone         ,0300",
    "PBRCTR,006,001,1500 m           ",
    "PBRCTR,006,002,P,4700.000,N,00900.000,E",
    "PBRCTR,006,003,X,4701.000,N,00901.000,E",
    "PBRCTR,006,004,T,4702.000,N,00901.000,E,+",
    "PBRCTR,006,005,Z,4701.000,N,00902.500,E,+",
};

const char* const kBuiltInWaypoints[] = {
    "4625.460,N,00808.100,E,FIESCH,Fiesch Launch,2240",
    "4624,N,00809.000,E,LAND,Fiesch landing,1050",  // no fraction in the latitude
    "3350.500,S,15112.250,W,,South West,0012",
    "4700.000,N,00800.000,E,EMPTY ,  Two  Blanks ,-0005",
};

// A pilot ID stored the way competition organisers store it: a waypoint whose
// position spells the number's digits as degrees, minutes and seconds
// (latitude: the last three digits, longitude: the ones before).
SimWaypoint PilotIdWaypoint(const std::string& label, long id) {
  const auto field = [](long degrees, long minutes, long seconds, int width) {
    const long thousandths = minutes * 1000 + (seconds * 1000 + 30) / 60;
    return CFormat("%0*ld%02ld.%03ld", width, degrees, thousandths / 1000, thousandths % 1000);
  };
  return {field(id / 100 % 10, id / 10 % 10, id % 10, 2) + ",N," + field(id / 100000, id / 10000 % 10, id / 1000 % 10, 3) +
          ",E," + label + "," + label + " " + std::to_string(id) + ",0000"};
}

// The rule by which models decide whether they can list their tracks.
bool ListsTracks(std::string model, const std::string& software) {
  for (char& c : model) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (model == "COMPETINO" || model == "5020") return software.compare("1.13") > 0;
  if (model == "COMPEO" || model == "5030" || model == "GALILEO") return software.compare("2.19") > 0;
  return model == "COMPEO+" || model == "6030" || model == "COMPETINO+" || model == "6020";
}

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

class FlytecInstrument : public SimInstrument {
 public:
  FlytecInstrument(const SimOptions& options, std::vector<SimFlight> flights)
      : model_(Value(options, "model", "6030")),
        pilot_(Value(options, "pilot", "Sim Pilot")),
        serial_(Value(options, "serial", "12345")),
        software_(Value(options, "software", "3.36")),
        badChecksum_(Value(options, "bad-checksum", "")),
        ack_(Value(options, "ack", "1")),
        record_(Value(options, "record", "")),
        flights_(std::move(flights)) {
    for (const char* fields : kBuiltInWaypoints) waypoints_.push_back({fields});
    for (const char* label : {"COMPID", "CIVLID"}) {
      std::string key = label;
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const std::string id = Value(options, key, "");
      if (!id.empty()) waypoints_.push_back(PilotIdWaypoint(label, std::atol(id.c_str())));
    }
    for (const char* body : kBuiltInAirspaces) airspaceLines_.emplace_back(body);
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    for (const char c : bytes) {
      if (c == 0x11 || c == 0x13) continue;
      if (c == '$') line_.clear();
      if (line_.size() < kLongestLine) line_ += c;
      if (c != '\n') continue;
      Record(line_);
      Answer(line_, reply);
      line_.clear();
    }
  }

 private:
  void Record(const std::string& line) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << line;
  }

  // A sentence of the instrument; its checksum spoiled when asked to.
  std::string Send(const std::string& body) const {
    std::string text = Sentence(body);
    if (!badChecksum_.empty() && body.compare(0, badChecksum_.size(), badChecksum_) == 0) {
      const size_t star = text.rfind('*');
      text[star + 2] = text[star + 2] == '0' ? '1' : '0';
    }
    return text;
  }

  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string body;
    if (!ParseSentence(line, body)) {
      if (line.starts_with("$PBRCTRW")) reply += Send("PBRANS,5");
      return;
    }
    const std::string name = body.substr(0, body.find(','));
    if (name == "PBRSNP") {
      reply += Send("PBRSNP," + model_ + "," + pilot_ + "," + serial_ + "," + software_);
    } else if (name == "PBRTL") {
      if (!ListsTracks(model_, software_)) return;  // older software does not know it
      for (size_t i = 0; i < flights_.size(); ++i) {
        const SimFlight& f = flights_[i];
        reply += Send(CFormat("PBRTL,%02d,%02d,%02d.%02d.%02d,%02u:%02u:%02u,%02u:%02u:%02u",
                              static_cast<int>(flights_.size()), static_cast<int>(i), f.day, f.month, f.year,
                              f.start / 3600, f.start / 60 % 60, f.start % 60, f.duration / 3600,
                              f.duration / 60 % 60, f.duration % 60));
      }
    } else if (name == "PBRIGC") {
      if (!flights_.empty()) reply += flights_[0].igc;
    } else if (name == "PBRTR") {
      const int index = std::atoi(body.c_str() + 6);
      if (index >= 0 && static_cast<size_t>(index) < flights_.size()) reply += flights_[static_cast<size_t>(index)].igc;
    } else if (name == "PBRWPS") {
      for (const SimWaypoint& w : waypoints_) reply += Send("PBRWPS," + w.fields);
    } else if (name == "PBRWPR") {
      // "PBRWPR," lat, N, lon, E, empty id, name, altitude: kept as sent.
      waypoints_.push_back({body.substr(7)});
    } else if (name == "PBRCTRW") {
      TakeAirspaceLine(body, reply);
    } else if (name == "PBRCTR") {
      for (const std::string& l : airspaceLines_) reply += Send(l);
      reply += Send("PBRANS,1");
    }
  }

  // One line of an airspace upload; the acknowledgement follows its last line.
  void TakeAirspaceLine(const std::string& body, std::string& reply) {
    // "PBRCTRW,nnn,lll,..."
    const int total = std::atoi(body.c_str() + 8);
    const int line = body.size() > 12 ? std::atoi(body.c_str() + 12) : -1;
    if (line != uploadLine_ || total < 3) {
      uploadLine_ = 0;
      if (ack_ != "none") reply += Send("PBRANS,2");
      return;
    }
    upload_.push_back("PBRCTR" + body.substr(7));
    if (++uploadLine_ < total) return;
    uploadLine_ = 0;
    if (ack_ == "1") airspaceLines_.insert(airspaceLines_.end(), upload_.begin(), upload_.end());
    upload_.clear();
    if (ack_ != "none") reply += Send("PBRANS," + ack_);
  }

  std::string model_, pilot_, serial_, software_, badChecksum_, ack_, record_;
  std::vector<SimFlight> flights_;
  std::vector<SimWaypoint> waypoints_;
  std::vector<std::string> airspaceLines_;
  std::vector<std::string> upload_;
  int uploadLine_ = 0;
  std::string line_;
};

}  // namespace

static std::unique_ptr<SimInstrument> CreateFlytecInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFlight> flights;
  for (const std::string& path : options.igcFiles) {
    SimFlight flight;
    if (!LoadFlight(path, flight, error)) return nullptr;
    flights.push_back(std::move(flight));
  }
  if (options.igcFiles.empty()) {
    const int count = std::atoi(Value(options, "flights", "2").c_str());
    if (count < 0 || count > 99) {
      error = "--flights must be 0..99";
      return nullptr;
    }
    for (int i = 0; i < count; ++i) flights.push_back(GenerateFlight(i));
  }
  const bool noDate = Value(options, "no-hfdte", "0") == "1";
  const int cutEvery = std::atoi(Value(options, "cut-b", "0").c_str());
  for (SimFlight& flight : flights) {
    if (noDate) flight.igc = WithoutDateLines(flight.igc);
    if (cutEvery > 0) flight.igc = WithCutPositions(flight.igc, cutEvery);
  }
  return std::make_unique<FlytecInstrument>(options, std::move(flights));
}

}  // namespace trelvik::sim

namespace trelvik::sim {
namespace {

constexpr std::string_view kFlytecOptionKeys[] = {
    "model", "pilot", "serial", "software", "flights", "no-hfdte", "cut-b", "bad-checksum", "ack", "record",
    "compid", "civlid",
};

}  // namespace

SimPlugin FlytecSimPlugin() {
  return {"flytec",
          "Flytec/Braeuniger ($PBR...): --model= --pilot= --serial= --software= (models and versions that "
          "cannot list tracks ignore $PBRTL); flights from --igc=FILE in track-list order (0 is sent for "
          "$PBRIGC) or --flights=N generated; --no-hfdte=1 drops date lines, --cut-b=N cuts every N-th B record, "
          "--bad-checksum=PBRSNP spoils that sentence's checksum, --ack=1..5|none answers airspace uploads, "
          "--record=FILE appends every line received, --compid=N and --civlid=N hold a pilot's ID waypoints",
          kFlytecOptionKeys, CreateFlytecInstrument};
}

}  // namespace trelvik::sim
