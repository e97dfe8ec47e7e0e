// A simulated MTK (Pentagram) GPS logger: $PMTK182 commands, the log memory
// in 64 KB sectors of binary records, written from the protocol description
// alone. The pseudo-terminal has no speed, so either speed is served.
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "base/c_format.hpp"
#include "flight_points.hpp"
#include "sim_nmea.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr size_t kLongestLine = 200;
constexpr size_t kSector = 0x10000;
constexpr size_t kHeader = 512;
constexpr uint32_t kFormat = 0x3F;  // time, validity, latitude, longitude, height, speed
constexpr uint32_t kSatelliteList = 1u << 13;
constexpr uint64_t kNmeaEveryMs = 200;

void Put16(std::string& memory, size_t at, uint16_t v) {
  memory[at] = static_cast<char>(v & 0xFF);
  memory[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& memory, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) memory[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
}
template <typename T>
void Append(std::string& bytes, T value) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));  // little-endian host, as the logger writes
  bytes.append(raw, sizeof(T));
}

struct MemoryPlan {
  size_t sectorRecords = 2000;  // records per sector before the next begins
  int noFixEvery = 0;
  int badRecord = 0;  // 1-based record whose checksum is wrong
  bool recordPastSector = false;
  bool badHeader = false;
};

std::string RecordBytes(const SimFix& fix, bool noFix, bool badChecksum) {
  std::string fields;
  Append<uint32_t>(fields, static_cast<uint32_t>(fix.unixTime));
  Append<uint16_t>(fields, noFix ? 1 : 2);
  Append<double>(fields, fix.latitude);
  Append<double>(fields, fix.longitude);
  Append<float>(fields, static_cast<float>(fix.altitude) + 0.25f);
  Append<float>(fields, 36.0f);
  uint8_t sum = 0;
  for (const char c : fields) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return fields + '*' + static_cast<char>(badChecksum ? sum ^ 0x5A : sum);
}

std::string SettingsRecord(uint8_t kind, uint32_t value) {
  std::string bytes(7, static_cast<char>(0xAA));
  bytes += static_cast<char>(kind);
  Append<uint32_t>(bytes, value);
  Append<uint32_t>(bytes, 0xBBBBBBBB);
  return bytes;
}

// The log memory and the count of bytes used.
std::string BuildMemory(const std::vector<SimFix>& fixes, const MemoryPlan& plan, size_t& used) {
  std::string memory;
  used = 0;
  size_t next = 0;
  while (next < fixes.size()) {
    const size_t base = memory.size();
    memory.append(kSector, static_cast<char>(0xFF));
    const size_t count = std::min(plan.sectorRecords, fixes.size() - next);
    const bool last = next + count == fixes.size();
    Put16(memory, base, last ? 0xFFFF : static_cast<uint16_t>(count));
    Put32(memory, base + 2, kFormat);
    Put16(memory, base + 6, 0x0002);
    Put32(memory, base + 8, 50);  // period, tenths of a second
    Put32(memory, base + 12, 0);  // distance
    Put32(memory, base + 16, 0);  // speed
    Put16(memory, base + 506, plan.badHeader && base == 0 ? 0x3F2B : 0x3F2A);
    Put32(memory, base + 508, 0xBBBBBBBB);
    std::string records;
    for (size_t i = 0; i < count; ++i, ++next) {
      if (plan.recordPastSector && last && i + 1 == count) {
        // A satellite list that claims more satellites than the sector holds.
        records += SettingsRecord(2, kFormat | kSatelliteList);
        std::string bad = RecordBytes(fixes[next], false, false).substr(0, 30);
        bad += std::string("\x01\x01\xFF\xFF", 4);
        records += bad;
        continue;
      }
      const bool noFix = plan.noFixEvery > 0 && (next + 1) % static_cast<size_t>(plan.noFixEvery) == 0;
      records += RecordBytes(fixes[next], noFix, static_cast<int>(next + 1) == plan.badRecord);
    }
    memory.replace(base + kHeader, records.size(), records);
    used = base + kHeader + records.size();
  }
  return memory;
}

class MtkInstrument : public SimInstrument {
 public:
  MtkInstrument(const SimOptions& options, std::string memory, size_t used)
      : release_(OptionValue(options, "release", "AXN_1.0-B_1.3_C01")),
        model_(OptionValue(options, "model", "0001")),
        badChecksum_(OptionValue(options, "bad-checksum", "")),
        ignore_(OptionValue(options, "ignore", "")),
        record_(OptionValue(options, "record", "")),
        memoryFault_(OptionValue(options, "memory", "")),
        logging_(OptionValue(options, "logging", "1") == "1"),
        wrongAddress_(OptionValue(options, "wrong-address", "0") == "1"),
        nmea_(OptionValue(options, "nmea", "0") == "1"),
        eraseMs_(static_cast<uint64_t>(std::atol(OptionValue(options, "erase-seconds", "2").c_str())) * 1000),
        memory_(std::move(memory)),
        used_(used) {}

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

  void Tick(uint64_t nowMs, std::string& reply) override {
    now_ = nowMs;
    if (erasing_ && nowMs >= eraseDone_) {
      erasing_ = false;
      memory_.clear();
      used_ = 0;
      reply += Send("PMTK001,182,6,3");
    }
    if (nmea_ && nowMs - lastNmea_ >= kNmeaEveryMs) {
      lastNmea_ = nowMs;
      reply += Sentence("GPRMC,120000,A,4625.460,N,00808.100,E,0.0,0.0,150724,,");
    }
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

  uint32_t UsedAnswer() const {
    if (memoryFault_ == "zero") return 0;
    if (memoryFault_ == "huge") return 0x4000001;
    return static_cast<uint32_t>(used_);
  }

  void Answer(std::string line, std::string& reply) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string body;
    if (!ParseSentence(line, body)) return;
    if (!ignore_.empty() && body.starts_with(ignore_)) return;
    if (body == "PMTK605") {
      reply += Send("PMTK705," + release_ + "," + model_ + ",Sim,1.0");
    } else if (body == "PMTK182,2,7") {
      reply += Send(CFormat("PMTK182,3,7,%d", logging_ ? 2 : 0)) + Send("PMTK001,182,2,3");
    } else if (body == "PMTK182,5") {
      logging_ = false;
      reply += Send("PMTK001,182,5,3");
    } else if (body == "PMTK182,4") {
      logging_ = true;
      reply += Send("PMTK001,182,4,3");
    } else if (body == "PMTK182,2,8") {
      reply += Send(CFormat("PMTK182,3,8,%08X", UsedAnswer())) + Send("PMTK001,182,2,3");
    } else if (body.starts_with("PMTK182,7,")) {
      AnswerChunk(body, reply);
    } else if (body == "PMTK182,6,1") {
      erasing_ = true;
      eraseDone_ = now_ + eraseMs_;
    }
  }

  // "PMTK182,7,AAAAAAAA,LLLLLLLL".
  void AnswerChunk(const std::string& body, std::string& reply) {
    const unsigned long address = std::strtoul(body.c_str() + 10, nullptr, 16);
    const size_t comma = body.find(',', 10);
    const unsigned long length = comma == std::string::npos ? 0 : std::strtoul(body.c_str() + comma + 1, nullptr, 16);
    if (length == 0 || length > 0x800) return;
    std::string hex;
    for (unsigned long i = address; i < address + length; ++i) {
      hex += CFormat("%02X", i < memory_.size() ? static_cast<unsigned char>(memory_[i]) : 0xFFu);
    }
    unsigned long answered = address;
    if (wrongAddress_ && !wrongSent_) {
      wrongSent_ = true;
      answered = address + 0x100;
    }
    reply += Send(CFormat("PMTK182,8,%08lX,", answered) + hex) + Send("PMTK001,182,7,3");
  }

  std::string release_, model_, badChecksum_, ignore_, record_, memoryFault_;
  bool logging_;
  bool wrongAddress_;
  bool wrongSent_ = false;
  bool nmea_;
  uint64_t eraseMs_;
  std::string memory_;
  size_t used_;
  bool erasing_ = false;
  uint64_t eraseDone_ = 0;
  uint64_t now_ = 0;
  uint64_t lastNmea_ = 0;
  std::string line_;
};

long Number(const SimOptions& options, const char* key, const char* fallback) {
  return std::atol(OptionValue(options, key, fallback).c_str());
}

std::unique_ptr<SimInstrument> CreateMtkInstrument(const SimOptions& options, std::string& error) {
  std::vector<SimFix> fixes;
  if (!LoadFixes(options, fixes, error)) return nullptr;
  const long points = Number(options, "points", "0");
  const long perSector = Number(options, "sector-records", "2000");
  if (points < 0 || perSector < 1 || perSector > 2000) {
    error = "--points must be 0 or more, --sector-records 1..2000";
    return nullptr;
  }
  if (points > 0 && static_cast<size_t>(points) < fixes.size()) fixes.resize(static_cast<size_t>(points));
  MemoryPlan plan;
  plan.sectorRecords = static_cast<size_t>(perSector);
  plan.noFixEvery = static_cast<int>(Number(options, "nofix-every", "0"));
  plan.badRecord = static_cast<int>(Number(options, "bad-record", "0"));
  plan.recordPastSector = OptionValue(options, "record-past-sector", "0") == "1";
  plan.badHeader = OptionValue(options, "bad-header", "0") == "1";
  size_t used = 0;
  std::string memory = BuildMemory(fixes, plan, used);
  return std::make_unique<MtkInstrument>(options, std::move(memory), used);
}

constexpr std::string_view kMtkOptionKeys[] = {
    "release",     "model",        "points",        "sector-records",
    "nofix-every", "bad-record",   "bad-header",    "record-past-sector",
    "memory",      "logging",      "wrong-address", "erase-seconds",
    "ignore",      "bad-checksum", "nmea",          "record",
};

}  // namespace

SimPlugin MtkSimPlugin() {
  return {"mtk",
          "MTK/Pentagram logger ($PMTK182): --release= --model=; the log from --igc=FILE or generated, "
          "--points=N keeps the first N fixes, --sector-records=N per 64 KB sector, --nofix-every=N marks "
          "every N-th record without fix; faults: --bad-record=N (checksum), --bad-header=1, "
          "--record-past-sector=1, --memory=zero|huge, --wrong-address=1 (first chunk), --ignore=BODY "
          "(commands never answered), --bad-checksum=BODY, --nmea=1 (streams $GPRMC); --logging=0|1 at start, "
          "--erase-seconds=N before the erase is acknowledged, --record=FILE appends every line received",
          kMtkOptionKeys, CreateMtkInstrument};
}

}  // namespace trelvik::sim
