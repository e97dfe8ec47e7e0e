// A simulated DSX flight recorder: short commands ended by CR, written from
// the protocol description alone.
#include <cstdlib>
#include <fstream>

#include "base/c_format.hpp"
#include "igc_flight_options.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestCommand = 200;
constexpr std::string_view kConnectionAnswer = "Conn\n\r\r\n#";

// The pilot data items 1..5 as "a|b|c|d|e".
std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (items.size() < 5) {
    const size_t end = text.find('|', start);
    items.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  items.resize(5);
  return items;
}

class DsxInstrument : public SimInstrument {
 public:
  DsxInstrument(const SimOptions& options, std::vector<SimFlight> flights)
      : items_(SplitItems(OptionValue(options, "items", "Sim Pilot|42|1234|Ozone Rush|Trelvik"))),
        badList_(std::atoi(OptionValue(options, "bad-list", "0").c_str())),
        brokenConnection_(OptionValue(options, "broken-conn", "0") == "1"),
        record_(OptionValue(options, "record", "")),
        flights_(std::move(flights)) {}

  void Receive(std::string_view bytes, std::string& reply) override {
    for (const char c : bytes) {
      if (command_.size() < kLongestCommand) command_ += c;
      if (c != '\r') continue;
      std::string command = command_;
      command_.clear();
      command.pop_back();
      Record(command);
      Answer(command, reply);
    }
  }

 private:
  void Record(const std::string& command) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << command << '\n';  // one command a line, without its CR
  }

  int FlightNumber(size_t index) const { return static_cast<int>(index) + 1; }

  void Answer(const std::string& command, std::string& reply) {
    if (command == "V1") {
      // A broken answer first: only the whole one opens the connection.
      if (brokenConnection_) reply += "Conx\n";
      reply += kConnectionAnswer;
    } else if (command == "FL") {
      SendFlightList(reply);
    } else if (command.size() == 4 && command[0] == 'F') {
      const int number = std::atoi(command.c_str() + 1);
      for (size_t i = 0; i < flights_.size(); ++i) {
        if (FlightNumber(i) == number) reply += "\r\n#" + flights_[i].igc + "ZZZZ\r\n#";
      }
    } else if (command.size() == 2 && command[0] == 'E' && command[1] >= '1' && command[1] <= '5') {
      reply += items_[static_cast<size_t>(command[1] - '1')] + "\r\n#";
    } else if (command.size() >= 2 && command[0] == 'H' && command[1] >= '1' && command[1] <= '5') {
      items_[static_cast<size_t>(command[1] - '1')] = command.substr(2);
      reply += "#";
    } else if (command.starts_with("C1")) {
      reply += "#";
    }
  }

  // "nnn recs n.count date"; --bad-list=N spoils the last line as format error N would.
  void SendFlightList(std::string& reply) const {
    for (size_t i = 0; i < flights_.size(); ++i) {
      const SimFlight& f = flights_[i];
      const int records = static_cast<int>(f.igc.size() / 40);
      std::string line = CFormat("%03d recs n.%d %02d.%02d.%02d\r\n", FlightNumber(i), records, f.day, f.month, f.year);
      if (i + 1 == flights_.size()) line = Spoiled(line);
      reply += line;
    }
    reply += "#";
  }

  std::string Spoiled(std::string line) const {
    switch (badList_) {
      case 1: line[1] = 'x'; break;                                       // a non-digit in the flight number
      case 2: line[3] = '-'; break;                                       // no blank after the number
      case 3: line[6] = 'X'; break;                                       // "recs n." broken
      case 4: line[11] = 'z'; break;                                      // a non-digit in the record count
      case 5: line.replace(line.find(' ', 11), 1, "/"); break;            // no blank after the count
      case 7: line = line.substr(0, line.find(' ', 11)) + "\r\n"; break;  // the line ends after the count
      default: break;
    }
    return line;
  }

  std::vector<std::string> items_;
  int badList_;
  bool brokenConnection_;
  std::string record_;
  std::vector<SimFlight> flights_;
  std::string command_;
};

std::unique_ptr<SimInstrument> CreateDsxInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFlight> flights;
  if (!MakeIgcFlights(options, flights, error)) return nullptr;
  return std::make_unique<DsxInstrument>(options, std::move(flights));
}

constexpr std::string_view kDsxOptionKeys[] = {
    "items",     "bad-list", "broken-conn", "record", "flights", "no-hfdte",
    "bad-hfdte", "no-a",     "no-g",        "cut-b",  "overlap",
};

}  // namespace

SimPlugin DsxSimPlugin() {
  return {"dsx",
          "DSX flight recorder (V1, FL, Fnnn, En, Hn, C1, V0 ended by CR): flights from --igc=FILE or --flights=N "
          "generated, numbered from 1; --items=\"name|comp id|civl id|glider|sponsor\" the pilot data; faults: "
          "--broken-conn=1 (a broken connection answer before the whole one), --bad-list=1..5 (that format error "
          "in the last list line; 7: the line ends after its count), --no-hfdte=1, --bad-hfdte=1, --no-a=1, "
          "--no-g=1, --cut-b=N; --record=FILE appends every command received, one a line",
          kDsxOptionKeys, CreateDsxInstrument};
}

}  // namespace trelvik::sim
