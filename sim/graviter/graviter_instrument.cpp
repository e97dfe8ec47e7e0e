// A simulated Graviter logger: "V" answers a text line, "y" the image of its
// whole track memory (a ring of linked tracks with bit-packed points), "T"
// then "W" commands write the owner name. Written from the protocol
// description alone.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "pmlr_frames.hpp"
#include "sim_fixes.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr uint32_t kImageBase = 1697;  // memory index of image byte 0
constexpr uint32_t kRingFirst = 1700;
constexpr uint32_t kRingLast = 131071;
constexpr uint32_t kNone = 0xFFFFFF;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr double kStep = 1e-7;  // radians of a position change

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

int Number(const SimOptions& options, const std::string& key, int fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : std::atoi(found->second.c_str());
}

// Bit fields, least significant bit first, into consecutive bytes.
class BitWriter {
 public:
  void Put(uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
      if (bit_ == 0) bytes_.push_back(0);
      if ((value >> i) & 1u) bytes_.back() = static_cast<char>(bytes_.back() | (1 << bit_));
      bit_ = (bit_ + 1) % 8;
    }
  }
  void Align() { bit_ = 0; }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int bit_ = 0;
};

// What the program will have decoded so far, so that changes add up exactly.
struct Decoded {
  double alt = 0, time = 0, lat = 0, lon = 0;
};

// One position change in steps of 1e-7 rad, or nothing when too large for 7 bits.
bool Change(double from, double to, uint32_t& steps, bool& negative) {
  const double n = std::round((to - from) / kStep);
  if (std::fabs(n) > 127) return false;
  steps = static_cast<uint32_t>(std::fabs(n));
  negative = n < 0;
  return true;
}

// The points of one track, each on a byte boundary.
std::string PackPoints(const std::vector<LoggerFix>& fixes, size_t from, size_t to) {
  BitWriter w;
  Decoded d;
  for (size_t i = from; i < to; ++i) {
    const LoggerFix& f = fixes[i];
    const double lat = f.latDegrees * kRadiansPerDegree;
    const double lon = f.lonDegrees * kRadiansPerDegree;
    const bool first = i == from;
    uint32_t flags = 0;
    uint32_t latSteps = 0, lonSteps = 0;
    bool latNegative = false, lonNegative = false;
    const bool latAbsolute = first || !Change(d.lat, lat, latSteps, latNegative);
    const bool lonAbsolute = first || !Change(d.lon, lon, lonSteps, lonNegative);
    const int altChange = f.altMetres - static_cast<int>(d.alt);
    const bool altAbsolute = first || std::abs(altChange) > 7;
    const double timeChange = f.secondOfDay - d.time;
    const bool timeAbsolute = first || timeChange < 0 || timeChange > 7;
    const bool extended = first || latAbsolute || lonAbsolute;
    if (altAbsolute) flags |= 0x1;
    if (first) flags |= 0x2 | 0x4 | 0x8;
    if ((altAbsolute && f.altMetres < 0) || (!altAbsolute && altChange < 0)) flags |= 0x10;
    if (timeAbsolute) flags |= 0x100;
    if (extended) flags |= 0x200 | 0x800;
    if (latAbsolute) flags |= 0x1000;
    if (lonAbsolute) flags |= 0x2000;
    if (latAbsolute ? lat < 0 : latNegative) flags |= 0x8000;
    if (lonAbsolute ? lon < 0 : lonNegative) flags |= 0x10000;
    w.Align();
    w.Put(flags & 0x3FF, 10);
    if (extended) w.Put(flags >> 10, 8);
    w.Put(altAbsolute ? static_cast<uint32_t>(std::abs(f.altMetres)) : static_cast<uint32_t>(std::abs(altChange)),
          altAbsolute ? 16 : 3);
    w.Put(0, first ? 8 : 4);
    w.Put(0, first ? 8 : 3);
    w.Put(0, first ? 6 : 2);
    w.Put(timeAbsolute ? f.secondOfDay : static_cast<uint32_t>(timeChange), timeAbsolute ? 17 : 3);
    if (extended) w.Put(0, 8);
    const auto putPosition = [&w](bool absolute, double value, uint32_t steps, double& decoded, bool negative) {
      if (absolute) {
        const float magnitude = static_cast<float>(std::fabs(value));
        uint32_t raw = 0;
        std::memcpy(&raw, &magnitude, sizeof raw);
        w.Put(raw, 32);
        decoded = value < 0 ? -static_cast<double>(magnitude) : static_cast<double>(magnitude);
      } else {
        w.Put(steps, 7);
        const double change = steps * kStep;
        decoded = negative ? decoded - change : decoded + change;
      }
    };
    putPosition(latAbsolute, lat, latSteps, d.lat, latNegative);
    putPosition(lonAbsolute, lon, lonSteps, d.lon, lonNegative);
    d.alt = altAbsolute ? std::abs(f.altMetres) * ((flags & 0x10) ? -1 : 1) : d.alt + altChange;
    d.time = timeAbsolute ? f.secondOfDay : d.time + timeChange;
  }
  return w.Bytes();
}

class GraviterInstrument : public SimInstrument {
 public:
  GraviterInstrument(const SimOptions& options, std::vector<LoggerFix> fixes)
      : serial_(Value(options, "serial", "4711")),
        record_(Value(options, "record", "")),
        tracks_(std::max(1, Number(options, "tracks", 2))),
        emptyTrack_(Number(options, "empty-track", 0) != 0),
        empty_(Number(options, "empty", 0) != 0),
        wrap_(Number(options, "wrap", 0) != 0),
        badPointer_(Number(options, "bad-pointer", 0) != 0),
        cyclic_(Number(options, "cyclic", 0) != 0),
        cutPoint_(Number(options, "cut", 0)),
        badChecksum_(Number(options, "bad-checksum", 0) != 0),
        noAck_(Number(options, "no-ack", 0) != 0),
        fixes_(std::move(fixes)) {}

  void Receive(std::string_view bytes, std::string& reply) override {
    RecordBytes(record_, bytes);
    for (const char c : bytes) {
      if (pendingName_ > 0) {
        // "W" + six digits of address + three of value.
        command_ += c;
        if (command_.size() < 10) continue;
        --pendingName_;
        command_.clear();
        continue;
      }
      if (c == 'V') {
        reply += "GRV Graviter-2 V2.1 " + serial_ + " 2024\r\n";
      } else if (c == 'y') {
        reply += Image();
      } else if (c == 'T') {
        if (!noAck_) reply += "!";
        pendingName_ = 20;
      }
    }
  }

 private:
  void Put24(std::string& memory, uint32_t index, uint32_t value) const {
    for (int k = 0; k < 3; ++k) {
      memory[Ring(index + static_cast<uint32_t>(k))] = static_cast<char>(value >> (16 - 8 * k));
    }
  }
  static uint32_t Ring(uint32_t index) { return index > kRingLast ? index - kRingLast - 1 + kRingFirst : index; }

  // The memory from index 0 to kRingLast; the image is its part from kImageBase on.
  std::string Image() const {
    std::string memory(kRingLast + 1, '\xFF');
    std::vector<uint32_t> starts;
    uint32_t at = wrap_ ? kRingLast - 40 : kRingFirst + 64;
    const size_t per = fixes_.size() / static_cast<size_t>(tracks_);
    for (int t = 0; t < tracks_ + (emptyTrack_ ? 1 : 0); ++t) {
      const bool noPositions = t == tracks_;
      const size_t from = noPositions ? 0 : static_cast<size_t>(t) * per;
      const size_t to = noPositions ? 0 : (t + 1 == tracks_ ? fixes_.size() : from + per);
      const LoggerFix& f = fixes_.empty() ? LoggerFix{} : fixes_[std::min(from, fixes_.size() - 1)];
      std::string track(3, '\0');
      const uint32_t start = f.secondOfDay;
      track += static_cast<char>(f.day);
      track += static_cast<char>(f.month);
      track += static_cast<char>(f.year - 2000);
      track += static_cast<char>(start / 3600);
      track += static_cast<char>(start / 60 % 60);
      track += static_cast<char>((start / 3600 + 1) % 24);
      track += static_cast<char>(start / 60 % 60);
      track += static_cast<char>(noPositions ? 2 : 3);
      const size_t count = to - from;
      track += static_cast<char>(count >> 8);
      track += static_cast<char>(count & 0xFF);
      std::string points = noPositions ? std::string() : PackPoints(fixes_, from, to);
      if (cutPoint_ > 0 && t == 0) points.resize(std::min(points.size(), static_cast<size_t>(cutPoint_)));
      track += points;
      starts.push_back(at);
      for (size_t k = 0; k < track.size(); ++k) memory[Ring(at + static_cast<uint32_t>(k))] = track[k];
      at = Ring(at + static_cast<uint32_t>(track.size()));
    }
    // Linked from the oldest on; the last one has no successor.
    for (size_t k = 0; k < starts.size(); ++k) {
      uint32_t next = k + 1 < starts.size() ? starts[k + 1] : kNone;
      if (cyclic_ && k + 1 == starts.size()) next = starts.front();
      Put24(memory, starts[k], next);
    }
    uint32_t first = empty_ ? kNone : starts.front();
    if (badPointer_) first = 0x20000;
    for (int k = 0; k < 3; ++k)
      memory[kImageBase + static_cast<uint32_t>(k)] = static_cast<char>(first >> (16 - 8 * k));
    const std::string image = memory.substr(kImageBase);
    uint8_t sum = 0;
    for (const char c : image) sum ^= static_cast<uint8_t>(c);
    if (badChecksum_) sum ^= 1;
    return "y" + image + "*" + static_cast<char>(sum) + "\r\n";
  }

  std::string serial_, record_;
  int tracks_;
  bool emptyTrack_, empty_, wrap_, badPointer_, cyclic_;
  int cutPoint_;
  bool badChecksum_, noAck_;
  std::vector<LoggerFix> fixes_;
  int pendingName_ = 0;
  std::string command_;
};

std::unique_ptr<SimInstrument> CreateGraviterInstrument(const SimOptions& options, std::string& error) {
  std::vector<LoggerFix> fixes;
  if (!options.igcFiles.empty()) {
    if (!LoadFixes(options.igcFiles.front(), fixes, error)) return nullptr;
  } else {
    const int count = Number(options, "points", 60);
    if (count < 1 || count > 20000) {
      error = "--points must be 1..20000";
      return nullptr;
    }
    fixes = GenerateFixes(count);
  }
  return std::make_unique<GraviterInstrument>(options, std::move(fixes));
}

constexpr std::string_view kGraviterOptionKeys[] = {
    "serial", "record",      "points", "tracks", "empty-track",  "empty",
    "wrap",   "bad-pointer", "cyclic", "cut",    "bad-checksum", "no-ack",
};

}  // namespace

SimPlugin GraviterSimPlugin() {
  return {"graviter",
          "Graviter logger (V, y, T/W): --serial=, positions from --igc=FILE or --points=N generated, split into "
          "--tracks=N tracks; --empty-track=1 adds a track without positions, --empty=1 an empty memory, --wrap=1 "
          "lays the tracks across the end of the ring; faults: --bad-pointer=1, --cyclic=1 (the last track links "
          "back to the first), --cut=N (the first track's points end after N bytes, where the next track begins), "
          "--bad-checksum=1, --no-ack=1; "
          "--record=FILE appends every byte received",
          kGraviterOptionKeys, CreateGraviterInstrument};
}

}  // namespace trelvik::sim
