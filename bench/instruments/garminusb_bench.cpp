// Cost of a Garmin track download on USB per packet: the USB packet layer
// gathering each transfer and the D301 decoding, over a transport that hands
// out a prepared track of 3000 points on the bulk pipe. A 33-byte packet takes
// at least 22 us on a full-speed bus (12 Mbit/s, before any protocol
// overhead; receivers send far slower); "per_packet" is the time of one,
// "bus_ns_per_packet" the bus's.
#include <benchmark/benchmark.h>

#include <deque>
#include <vector>

#include "instruments/garmin/tracks.hpp"
#include "instruments/garmin/usb_packet_link.hpp"
#include "instruments/garmin/usb_packets.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::garmin;

constexpr int kPoints = 3000;
constexpr double kBusNsPerByte = 1e9 * 8 / 12e6;

std::vector<uint8_t> D301Packet(int i) {
  GarminPacket p;
  p.id = kPidTrackPoint;
  p.size = 21;
  p.PutU32(0, static_cast<uint32_t>(554766000 + 1000 * i));
  p.PutU32(4, static_cast<uint32_t>(97000000 - 700 * i));
  p.PutU32(8, static_cast<uint32_t>(1090000000 + 2 * i));
  p.PutF32(12, 1500.0f + static_cast<float>(i % 400));
  p.PutF32(16, 1.0e25f);
  return EncodeUsbApplication(p);
}

// Replays the track's packets, one bulk transfer each.
class ReplayTransport : public UsbTransport {
 public:
  explicit ReplayTransport(const std::vector<std::vector<uint8_t>>& packets) : packets_(packets) {}
  UsbResult WriteBulk(const std::vector<uint8_t>&, std::chrono::milliseconds) override { return {}; }
  UsbResult ReadBulk(size_t, std::chrono::milliseconds) override {
    if (next_ == packets_.size()) return {UsbStatus::kTimeout, {}, -7};
    return {UsbStatus::kOk, packets_[next_++], 0};
  }
  UsbResult ReadInterrupt(size_t, std::chrono::milliseconds) override {
    // The data-available notice that moves the layer to the bulk pipe.
    return {UsbStatus::kOk, EncodeUsbPacket(kUsbTypeProtocol, kUsbPidDataAvailable, {}), 0};
  }

 private:
  const std::vector<std::vector<uint8_t>>& packets_;
  size_t next_ = 0;
};

void BM_GarminUsbTrackDecode(benchmark::State& state) {
  std::vector<std::vector<uint8_t>> packets;
  size_t bytes = 0;
  for (int i = 0; i < kPoints; ++i) {
    packets.push_back(D301Packet(i));
    bytes += packets.back().size();
  }
  for (auto _ : state) {
    ReplayTransport transport(packets);
    UsbPacketLink link(transport, nullptr, [](std::chrono::milliseconds) {});
    std::vector<TrackPoint> points;
    points.reserve(kPoints);
    UsbPacket packet;
    while (link.ReadUsbPacket(packet) == 0) {
      TrackPoint point;
      if (DecodeTrackPoint(301, packet.packet, point) == 0) points.push_back(point);
    }
    benchmark::DoNotOptimize(points.data());
  }
  const double packetsDone = static_cast<double>(state.iterations()) * kPoints;
  state.counters["per_packet"] =
      benchmark::Counter(packetsDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["bus_ns_per_packet"] = kBusNsPerByte * static_cast<double>(bytes) / kPoints;
}
BENCHMARK(BM_GarminUsbTrackDecode)->Unit(benchmark::kMillisecond);

}  // namespace
