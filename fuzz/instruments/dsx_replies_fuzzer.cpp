// Arbitrary bytes as a DSX recorder's replies, one byte at a time into every
// state machine of the protocol: the connection answer, the flight list and
// the pilot-data item reply. Each must take every byte and keep its results
// inside their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "instruments/dsx/codec.hpp"

namespace {

using namespace trelvik::dsx;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ConnectionMatcher matcher;
  auto list = std::make_unique<FlightListParser>();
  ItemReplyCollector item;
  bool connected = false;
  for (size_t i = 0; i < size; ++i) {
    connected = matcher.Feed(data[i]) || connected;
    const int rc = list->Feed(data[i]);
    Check(rc >= -6 && rc <= 0);
    Check(list->Flights().size() <= kMaxFlights);
    for (const Flight& flight : list->Flights()) {
      Check(flight.number >= 0 && flight.number <= 999 && flight.records >= 0 && flight.records <= 999999);
      Check(F(flight.number).size() == 5);
    }
    // A list ends at its first fault; the next one starts afresh.
    if (rc < 0) list = std::make_unique<FlightListParser>();
    if (item.Feed(data[i])) item = ItemReplyCollector();
    Check(item.Text().size() <= kItemReplyLimit);
  }
  (void)connected;
  return 0;
}
