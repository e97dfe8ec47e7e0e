#include "trackfiles/kml_hash.hpp"

#include <cstdint>

namespace trelvik {
namespace {

// Each byte is the key character minus its position, so the key never stands
// in the binary as one readable string.
constexpr uint8_t kStoredKey[kKmlHashKeyLength] = {0x54, 0x75, 0x35, 0x20, 0x6d, 0x47, 0x67, 0x2b, 0x19,
                                                   0x49, 0x61, 0x2e, 0x4b, 0x6d, 0x26, 0x49, 0x60};

}  // namespace

std::string KmlHashKey() {
  std::string key(kKmlHashKeyLength, '\0');
  for (size_t i = 0; i < kKmlHashKeyLength; ++i) key[i] = static_cast<char>(kStoredKey[i] + i);
  return key;
}

void StartKmlHash(Sha1State& state) {
  Sha1Init(state);
  Sha1Update(state, KmlHashKey());
}

}  // namespace trelvik
