// Arbitrary bytes as a Garmin receiver's replies on the serial line, one byte
// at a time into the unframing state machine; every packet it completes goes
// through the replies the product step reads: product data and the
// capability array with the protocol check. Each must take every byte, and
// keep its results inside the packet and their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "instruments/garmin/link_serial.hpp"
#include "instruments/garmin/packets.hpp"
#include "instruments/garmin/protocols.hpp"

namespace {

using namespace trelvik::garmin;

void Check(bool condition) {
  if (!condition) std::abort();
}

void TakePacket(const GarminPacket& packet) {
  if (IsProductData(packet)) {
    const ProductData product = ParseProductData(packet);
    Check(product.description.size() <= kProductTextLimit);
    Check(product.description.size() + 4 <= packet.size);
  }
  if (packet.id == kPidProtocolArray && packet.size % 3 == 0) {
    GarminProtocolSet set;
    if (ParseProtocolArray(std::span<const uint8_t>(packet.data.data(), packet.size), set) == 0) {
      const ProtocolCheck check = CheckProtocols(set);
      Check(check == ProtocolCheck::Ok || !ProtocolCheckText(check).empty());
      if (check == ProtocolCheck::Ok) Check(set.link == 1 && set.deviceCommand == 10);
    }
  }
  size_t next = 0;
  (void)PacketString(packet, packet.size / 2, &next);
  Check(next <= packet.size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SerialReceiver receiver;
  for (size_t i = 0; i < size; ++i) {
    if (receiver.Feed(data[i])) TakePacket(receiver.Packet());
  }
  return 0;
}
