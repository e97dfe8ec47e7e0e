#include <charconv>

#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 200;
constexpr long kMostDataSentences = 100000;

// A minimal sentence talker for link tests: one answer per received sentence.
class NmeaInstrument : public SimInstrument {
 public:
  void Receive(std::string_view bytes, std::string& reply) override {
    for (char c : bytes) {
      if (c == 0x11 || c == 0x13 || c == '\r') continue;  // flow control and line ends
      if (c != '\n') {
        if (line_.size() < kLongestLine) line_ += c;
        continue;
      }
      Answer(line_, reply);
      line_.clear();
    }
  }

 private:
  static void Answer(const std::string& line, std::string& reply) {
    if (line.empty()) return;
    std::string body;
    if (!ParseSentence(line, body)) {
      reply += Sentence("PTRVE,BADSUM");
      return;
    }
    const std::string name = body.substr(0, body.find(','));
    if (name == "PTRVQ") {
      long count = 0;
      const std::string field = body.size() > 6 ? body.substr(6) : "";
      std::from_chars(field.data(), field.data() + field.size(), count);
      if (count > kMostDataSentences) count = kMostDataSentences;
      for (long i = 1; i <= count; ++i) reply += Sentence("PTRVD," + std::to_string(i));
      return;
    }
    reply += Sentence("PTRVA," + name);
  }

  std::string line_;
};

}  // namespace

std::unique_ptr<SimInstrument> CreateNmeaInstrument(const SimOptions&, std::string&) {
  return std::make_unique<NmeaInstrument>();
}

}  // namespace trelvik::sim
