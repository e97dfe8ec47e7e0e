// A simulated Garmin receiver on a serial line: the receiver model of
// garmin_receiver behind the DLE framing, written from Garmin's description
// of the link on its own. Faults of the framing (a spoiled checksum, a DLE
// that is not doubled) are made here; those of the receiver in its model.
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "flytec/flytec_flights.hpp"
#include "garmin/garmin_receiver.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

using garmin::GarminReceiver;
using garmin::ReceiverModel;
using garmin::SimPacket;

constexpr char kDle = 0x10;
constexpr char kEtx = 0x03;

std::string Value(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

// "ID" (every packet of that id) or "ID:K" (only the K-th); id -1 = none.
struct PacketChoice {
  int id = -1;
  int nth = 0;  // 0 = every one
  int seen = 0;
  bool Hits(uint8_t packetId) {
    if (packetId != id) return false;
    ++seen;
    return nth == 0 || seen == nth;
  }
};

bool ParseChoice(const std::string& text, PacketChoice& choice) {
  if (text.empty()) return true;
  char* rest = nullptr;
  choice.id = static_cast<int>(std::strtol(text.c_str(), &rest, 10));
  if (*rest == ':') choice.nth = static_cast<int>(std::strtol(rest + 1, &rest, 10));
  return *rest == '\0' && choice.id >= 0 && choice.id <= 255 && choice.nth >= 0;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : bytes) {
    text += kDigits[static_cast<uint8_t>(c) >> 4];
    text += kDigits[static_cast<uint8_t>(c) & 0x0F];
  }
  return text;
}

class GarminSerialInstrument : public SimInstrument {
 public:
  GarminSerialInstrument(ReceiverModel model, PacketChoice badChecksum, PacketChoice badDle, std::string record)
      : receiver_(std::move(model)), badChecksum_(badChecksum), badDle_(badDle), record_(std::move(record)) {}

  void Receive(std::string_view bytes, std::string& reply) override {
    std::vector<SimPacket> out;
    for (const char c : bytes) {
      if (Unframe(static_cast<uint8_t>(c))) {
        Record(packet_);
        receiver_.Receive(packet_, out);
      }
    }
    for (const SimPacket& p : out) reply += Frame(p);
  }

  void Tick(uint64_t nowMs, std::string& reply) override {
    std::vector<SimPacket> out;
    receiver_.Tick(nowMs, out);
    for (const SimPacket& p : out) reply += Frame(p);
  }

 private:
  // One line per packet received: "id:HEX DATA".
  void Record(const SimPacket& p) const {
    if (record_.empty()) return;
    std::ofstream out(record_, std::ios::binary | std::ios::app);
    out << static_cast<int>(p.id) << ':' << Hex(p.data) << '\n';
  }

  std::string Frame(const SimPacket& p) {
    const bool spoilSum = badChecksum_.Hits(p.id);
    const bool loneDle = badDle_.Hits(p.id);
    std::string frame{kDle, static_cast<char>(p.id)};
    auto stuffed = [&frame](char c) {
      frame += c;
      if (c == kDle) frame += c;
    };
    uint8_t sum = static_cast<uint8_t>(p.id + p.data.size());
    stuffed(static_cast<char>(p.data.size()));
    if (loneDle) frame += kDle;  // a DLE that the next byte does not double
    for (const char c : p.data) {
      stuffed(c);
      sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    }
    uint8_t checksum = static_cast<uint8_t>(0x100 - sum);
    if (spoilSum) checksum = static_cast<uint8_t>(checksum + 1);
    stuffed(static_cast<char>(checksum));
    frame += kDle;
    frame += kEtx;
    return frame;
  }

  // The receiving side of the framing; true when a packet with a good checksum is complete.
  bool Unframe(uint8_t c) {
    switch (state_) {
      case 0:
        if (c == kDle) state_ = 1;
        return false;
      case 1:
        if (c == kDle || c == kEtx) {
          state_ = 0;
          return false;
        }
        packet_ = {c, {}};
        sum_ = c;
        state_ = 2;
        dle_ = false;
        return false;
      default: break;
    }
    if (state_ <= 4) {
      if (c == kDle && !dle_) {
        dle_ = true;
        return false;
      }
      if (c != kDle && dle_) {
        state_ = 0;
        dle_ = false;
        return false;
      }
      dle_ = false;
    }
    switch (state_) {
      case 2:
        size_ = c;
        sum_ = static_cast<uint8_t>(sum_ + c);
        state_ = size_ == 0 ? 4 : 3;
        return false;
      case 3:
        packet_.data += static_cast<char>(c);
        sum_ = static_cast<uint8_t>(sum_ + c);
        if (packet_.data.size() == size_) state_ = 4;
        return false;
      case 4:
        sum_ = static_cast<uint8_t>(sum_ + c);
        state_ = sum_ == 0 ? 5 : 0;
        return false;
      case 5: state_ = c == kDle ? 6 : 0; return false;
      default: state_ = 0; return c == kEtx;
    }
  }

  GarminReceiver receiver_;
  PacketChoice badChecksum_;
  PacketChoice badDle_;
  std::string record_;
  int state_ = 0;
  bool dle_ = false;
  uint8_t sum_ = 0;
  size_t size_ = 0;
  SimPacket packet_;
};

bool IntOption(const SimOptions& options, const std::string& key, int low, int high, int& value, std::string& error) {
  const std::string text = Value(options, key, std::to_string(value));
  char* rest = nullptr;
  const long number = std::strtol(text.c_str(), &rest, 10);
  if (text.empty() || *rest != '\0' || number < low || number > high) {
    error = "--" + key + " must be " + std::to_string(low) + ".." + std::to_string(high);
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

bool LoadTracks(const SimOptions& options, ReceiverModel& model, std::string& error) {
  int flights = 1;
  int fixes = 0;
  if (!IntOption(options, "flights", 0, 9, flights, error) || !IntOption(options, "fixes", 0, 65000, fixes, error)) {
    return false;
  }
  std::vector<SimFlight> sources;
  for (const std::string& path : options.igcFiles) {
    SimFlight flight;
    if (!LoadFlight(path, flight, error)) return false;
    sources.push_back(std::move(flight));
  }
  if (options.igcFiles.empty()) {
    for (int i = flights - 1; i >= 0; --i) sources.push_back(GenerateFlight(i));  // oldest first
  }
  for (size_t i = 0; i < sources.size(); ++i) {
    garmin::SimTrack track;
    if (!garmin::TrackFromIgc(sources[i].igc, "TRACK " + std::to_string(i + 1), track)) {
      error = "a flight without date or fixes";
      return false;
    }
    if (fixes > 0 && track.points.size() > static_cast<size_t>(fixes)) track.points.resize(static_cast<size_t>(fixes));
    model.tracks.push_back(std::move(track));
  }
  return true;
}

std::unique_ptr<SimInstrument> CreateGarminInstrument(const SimOptions& options, std::string& error) {
  ReceiverModel model;
  int product = model.productId;
  int version = model.version;
  int pvt = 0;
  int wrongAck = -1;
  int arraySize = -1;
  int waypointCount = -1;
  if (!IntOption(options, "product", 0, 65535, product, error) ||
      !IntOption(options, "version", -32768, 32767, version, error) ||
      !IntOption(options, "waypoint-type", 0, 999, model.waypointType, error) ||
      !IntOption(options, "track", 0, 999, model.trackProtocol, error) ||
      !IntOption(options, "track-header", 0, 999, model.trackHeaderType, error) ||
      !IntOption(options, "track-point", 0, 999, model.trackPointType, error) ||
      !IntOption(options, "pvt", 0, 100000, pvt, error) || !IntOption(options, "wrong-ack", -1, 255, wrongAck, error) ||
      !IntOption(options, "array-size", -1, 255, arraySize, error) ||
      !IntOption(options, "waypoints", -1, 1000, waypointCount, error)) {
    return nullptr;
  }
  model.productId = static_cast<uint16_t>(product);
  model.version = static_cast<int16_t>(version);
  model.description = Value(options, "description", model.description);
  model.pvtPackets = pvt;
  model.wrongAckOf = wrongAck;
  model.ackProductRequest = Value(options, "ack-request", "1") == "1";
  const std::string array = Value(options, "array", DefaultCapabilityList(model));
  if (array != "none") {
    std::string bytes;
    if (!garmin::CapabilityBytes(array, bytes)) {
      error = "--array takes entries like L001,A100,D108 separated by commas, or none";
      return nullptr;
    }
    if (arraySize >= 0) bytes.resize(static_cast<size_t>(arraySize), '\0');
    model.capabilities = bytes;
  }
  model.waypoints = garmin::SampleWaypoints();
  if (waypointCount >= 0) {
    model.waypoints.resize(std::min<size_t>(model.waypoints.size(), static_cast<size_t>(waypointCount)));
    for (int i = static_cast<int>(model.waypoints.size()); i < waypointCount; ++i) {
      garmin::SimWaypoint w;
      w.name = "W" + std::to_string(i + 1);
      w.comment = "generated " + std::to_string(i + 1);
      w.lat = 550000000 + i * 10000;
      w.lon = 97000000 + i * 10000;
      w.alt = static_cast<float>(1000 + i);
      model.waypoints.push_back(w);
    }
  }
  if (!LoadTracks(options, model, error)) return nullptr;
  PacketChoice badChecksum;
  PacketChoice badDle;
  if (!ParseChoice(Value(options, "bad-checksum", ""), badChecksum) ||
      !ParseChoice(Value(options, "bad-dle", ""), badDle)) {
    error = "--bad-checksum and --bad-dle take a packet id, or id:n for the n-th such packet only";
    return nullptr;
  }
  return std::make_unique<GarminSerialInstrument>(std::move(model), badChecksum, badDle, Value(options, "record", ""));
}

constexpr std::string_view kGarminOptionKeys[] = {
    "product", "version",       "description", "array",        "array-size",  "ack-request",
    "pvt",     "waypoint-type", "track",       "track-header", "track-point", "waypoints",
    "flights", "fixes",         "wrong-ack",   "bad-checksum", "bad-dle",     "record",
};

}  // namespace

SimPlugin GarminSimPlugin() {
  return {"garmin",
          "Garmin receiver (L001 at 9600 baud): --product=ID --version=N (x 100) --description=TEXT; "
          "--array=P000,L001,A010,A100,D108,... the capability array or none (then the unit is known only "
          "by the built-in table), --array-size=N cuts or pads it; --waypoint-type=108 --track=301 (0: none) "
          "--track-header=310 --track-point=301; --waypoints=N (default 4 samples); tracks from --igc=FILE or "
          "--flights=N generated (default 1), --fixes=N keeps the first N; --ack-request=0 answers the product "
          "request without acknowledging it; --pvt=N streams N PVT packets before the array; --wrong-ack=ID "
          "acknowledges that packet id with another; --bad-checksum=ID[:n] and --bad-dle=ID[:n] spoil the "
          "framing of that packet; --record=FILE appends every packet received as id:HEX",
          kGarminOptionKeys, CreateGarminInstrument};
}

}  // namespace trelvik::sim
