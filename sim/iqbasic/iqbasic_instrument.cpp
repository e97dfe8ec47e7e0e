// A simulated IQ Basic / Flytec 6015: RPA_ and ACT_ lines at 57600 baud,
// written from the protocol description alone.
#include <cstdlib>
#include <fstream>

#include "base/c_format.hpp"
#include "igc_flight_options.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 300;

const char* const kBuiltInWaypoints[] = {
    "Fiesch Launch Ost;N  46'25.460;E 008'08.100;  2240",
    "LAND;N 46'24;E 8'09.5",  // no altitude, whole minutes
    "south west;S  33'50.500;W 151'12.250;    12",
};

// A value as the instrument sends it: pairs of hex digits, least significant byte first.
std::string ValueText(uint32_t value) {
  return CFormat("%02X%02X%02X%02X", value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF, value >> 24 & 0xFF);
}

class IqBasicInstrument : public SimInstrument {
 public:
  IqBasicInstrument(const SimOptions& options, std::vector<SimFlight> flights)
      : serial_(static_cast<uint32_t>(std::atol(OptionValue(options, "serial", "1137").c_str()))),
        deviceType_(static_cast<uint32_t>(std::atol(OptionValue(options, "device-type", "1").c_str()))),
        software_(static_cast<uint32_t>(std::atol(OptionValue(options, "software", "1234").c_str()))),
        firstNumber_(std::atoi(OptionValue(options, "first-number", "1").c_str())),
        badPrefix_(OptionValue(options, "bad-prefix", "")),
        badList_(OptionValue(options, "bad-list", "0") == "1"),
        uploadReply_(OptionValue(options, "upload-reply", " Done")),
        record_(OptionValue(options, "record", "")),
        flights_(std::move(flights)) {
    for (const char* line : kBuiltInWaypoints) waypoints_.emplace_back(line);
  }

  void Receive(std::string_view bytes, std::string& reply) override {
    for (const char c : bytes) {
      if (line_.size() < kLongestLine) line_ += c;
      if (c != '\n') continue;
      Record(line_);
      std::string line = line_;
      line_.clear();
      while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
      Answer(line, reply);
    }
  }

 private:
  void Record(const std::string& line) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << line;
  }

  // A parameter reply, its prefix spoiled when asked to.
  std::string Parameter(const std::string& prefix, uint32_t value) const {
    const std::string sent = prefix == badPrefix_ ? "RPX" + prefix.substr(3) : prefix;
    return sent + "_" + ValueText(value) + "\r\n";
  }

  void Answer(const std::string& line, std::string& reply) {
    if (uploading_) {
      uploading_ = false;
      uploaded_.push_back(line);
      reply += uploadReply_ + "\r\n";
      return;
    }
    if (line == "RPA_00") {
      reply += Parameter("RPA_00", serial_);
    } else if (line == "RPA_01") {
      reply += Parameter("RPA_01", deviceType_);
    } else if (line == "RPA_02") {
      reply += Parameter("RPA_02", software_);
    } else if (line.starts_with("ACT_20_")) {
      SendTrackList(reply);
    } else if (line.starts_with("ACT_21_") && line.size() >= 9) {
      const int number = static_cast<int>(std::strtol(line.substr(7, 2).c_str(), nullptr, 16));
      for (size_t i = 0; i < flights_.size(); ++i) {
        if ((FlightNumber(i) & 0xFF) == number) reply += flights_[i].igc;
      }
    } else if (line == "ACT_31_00") {
      for (const std::string& w : waypoints_) reply += w + "\r\n";
      for (const std::string& w : uploaded_) reply += w + "\r\n";
      reply += "Done\r\n";
    } else if (line == "ACT_32_00") {
      uploading_ = true;
    }
  }

  int FlightNumber(size_t index) const { return firstNumber_ + static_cast<int>(index); }

  void SendTrackList(std::string& reply) const {
    for (size_t i = 0; i < flights_.size(); ++i) {
      const SimFlight& f = flights_[i];
      if (badList_) {
        reply += CFormat("%d;%02d/%02d/%02d;%02u:%02u\r\n", FlightNumber(i), f.day, f.month, f.year, f.start / 3600,
                         f.start / 60 % 60);
        continue;
      }
      reply += CFormat("%d;%02d.%02d.%02d;%02u:%02u:%02u;%u;%02u:%02u:%02u\r\n", FlightNumber(i), f.day, f.month,
                       f.year, f.start / 3600, f.start / 60 % 60, f.start % 60, f.duration / 2 + 1, f.duration / 3600,
                       f.duration / 60 % 60, f.duration % 60);
    }
  }

  uint32_t serial_, deviceType_, software_;
  int firstNumber_;
  std::string badPrefix_;
  bool badList_;
  std::string uploadReply_, record_;
  std::vector<SimFlight> flights_;
  std::vector<std::string> waypoints_;
  std::vector<std::string> uploaded_;
  bool uploading_ = false;
  std::string line_;
};

std::unique_ptr<SimInstrument> CreateIqBasicInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFlight> flights;
  if (!MakeIgcFlights(options, flights, error)) return nullptr;
  return std::make_unique<IqBasicInstrument>(options, std::move(flights));
}

constexpr std::string_view kIqBasicOptionKeys[] = {
    "serial",  "device-type", "software",  "first-number", "bad-prefix", "bad-list", "upload-reply", "record",
    "flights", "no-hfdte",    "bad-hfdte", "no-a",         "no-g",       "cut-b",    "overlap",
};

}  // namespace

SimPlugin IqBasicSimPlugin() {
  return {"iqbasic",
          "IQ Basic / Flytec 6015 (RPA_/ACT_ lines): --serial= --device-type= (0 = 6015) --software= (1234 = "
          "1.2.34); flights from --igc=FILE or --flights=N generated, numbered from --first-number= (default 1); "
          "faults: --bad-prefix=RPA_00|RPA_01|RPA_02, --bad-list=1, --no-hfdte=1, --bad-hfdte=1, --no-a=1, "
          "--no-g=1, --cut-b=N, --overlap=1, --upload-reply=TEXT (default \" Done\"); --record=FILE appends every "
          "line received",
          kIqBasicOptionKeys, CreateIqBasicInstrument};
}

}  // namespace trelvik::sim
