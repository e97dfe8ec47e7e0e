// A simulated Magellan receiver: $PMGN sentences at 9600 baud, written from
// the protocol description alone.
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "base/c_format.hpp"
#include "flight_points.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 200;
constexpr uint64_t kNmeaEveryMs = 200;

const char* const kBuiltInWaypoints[] = {
    "4625.460,N,00808.100,E,2240,M,FIESCH,Fiesch Launch",
    "4624.000,N,00809.000,E,3445,F,LAND,Fiesch landing",
    "3350.500,S,15112.250,W,12,M,SW1,South West",
};

// "DDMM.mmm,H" / "DDDMM.mmm,H" of an angle in degrees.
std::string Angle(double degrees, bool latitude) {
  const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
  const long milli = std::lround(std::fabs(degrees) * 60000);
  return CFormat(latitude ? "%02ld%02ld.%03ld,%c" : "%03ld%02ld.%03ld,%c", milli / 60000, milli % 60000 / 1000,
                 milli % 1000, hemisphere);
}

class MagellanInstrument : public SimInstrument {
 public:
  MagellanInstrument(const SimOptions& options, std::vector<SimFix> fixes)
      : model_(OptionValue(options, "model", "60")),
        software_(OptionValue(options, "software", "3.20")),
        product_(OptionValue(options, "product", "MAP 330")),
        badChecksum_(OptionValue(options, "bad-checksum", "")),
        record_(OptionValue(options, "record", "")),
        endMark_(OptionValue(options, "end", "1") == "1"),
        nmea_(OptionValue(options, "nmea", "0") == "1"),
        noFixEvery_(std::atoi(OptionValue(options, "nofix-every", "0").c_str())),
        fixes_(std::move(fixes)) {
    for (const char* fields : kBuiltInWaypoints) waypoints_.emplace_back(fields);
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

  // A receiver that streams positions keeps doing so, whatever else it sends.
  void Tick(uint64_t nowMs, std::string& reply) override {
    if (!nmea_ || nowMs - lastNmea_ < kNmeaEveryMs) return;
    lastNmea_ = nowMs;
    reply += Sentence("GPRMC,120000,A,4625.460,N,00808.100,E,0.0,0.0,150724,,");
  }

 private:
  void Record(const std::string& line) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << line;
  }

  std::string Send(const std::string& body) const {
    std::string text = Sentence(body);
    if (!badChecksum_.empty() && body.compare(0, badChecksum_.size(), badChecksum_) == 0) {
      const size_t star = text.rfind('*');
      text[star + 2] = text[star + 2] == '0' ? '1' : '0';
    }
    return text;
  }

  std::string EndOfTransfer() const { return endMark_ ? Send("PMGNCMD,END") : std::string(); }

  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string body;
    if (!ParseSentence(line, body)) return;
    if (body == "PMGNCMD,VERSION") {
      reply += Send("PMGNVER," + model_ + "," + software_ + "," + product_);
    } else if (body == "PMGNCMD,TRACK,2") {
      for (size_t i = 0; i < fixes_.size(); ++i) reply += Send(TrackBody(fixes_[i], i));
      reply += EndOfTransfer();
    } else if (body == "PMGNCMD,WAYPOINT") {
      for (const std::string& w : waypoints_) reply += Send("PMGNWPL," + w);
      reply += EndOfTransfer();
    } else if (body.starts_with("PMGNWPL,")) {
      waypoints_.push_back(body.substr(8));
    }
  }

  std::string TrackBody(const SimFix& fix, size_t index) const {
    const std::time_t t = static_cast<std::time_t>(fix.unixTime);
    std::tm tm{};
    gmtime_r(&t, &tm);
    const bool valid = noFixEvery_ <= 0 || (index + 1) % static_cast<size_t>(noFixEvery_) != 0;
    return CFormat("PMGNTRK,%s,%s,%05d,M,%02d%02d%02d.00,%c,,%02d%02d%02d", Angle(fix.latitude, true).c_str(),
                   Angle(fix.longitude, false).c_str(), fix.altitude, tm.tm_hour, tm.tm_min, tm.tm_sec,
                   valid ? 'A' : 'V', tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100);
  }

  std::string model_, software_, product_, badChecksum_, record_;
  bool endMark_;
  bool nmea_;
  int noFixEvery_;
  std::vector<SimFix> fixes_;
  std::vector<std::string> waypoints_;
  std::string line_;
  uint64_t lastNmea_ = 0;
};

std::unique_ptr<SimInstrument> CreateMagellanInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFix> fixes;
  if (!LoadFixes(options, fixes, error)) return nullptr;
  const long points = std::atol(OptionValue(options, "points", "0").c_str());
  if (points < 0) {
    error = "--points must be 0 or more";
    return nullptr;
  }
  if (points > 0 && static_cast<size_t>(points) < fixes.size()) fixes.resize(static_cast<size_t>(points));
  return std::make_unique<MagellanInstrument>(options, std::move(fixes));
}

constexpr std::string_view kMagellanOptionKeys[] = {
    "model", "software", "product", "points", "bad-checksum", "end", "nmea", "nofix-every", "record",
};

}  // namespace

SimPlugin MagellanSimPlugin() {
  return {"magellan",
          "Magellan ($PMGN...): --model=N --software=V --product=TEXT (model 24 below 3.14 and 30 below 2.01 "
          "log no usable track); the track from --igc=FILE or generated, --points=N keeps the first N, "
          "--nofix-every=N marks every N-th point V; --end=0 sends no end mark (the transfer ends by silence), "
          "--nmea=1 streams $GPRMC meanwhile, --bad-checksum=PMGNTRK spoils those sentences' checksums, "
          "--record=FILE appends every line received",
          kMagellanOptionKeys, CreateMagellanInstrument};
}

}  // namespace trelvik::sim
