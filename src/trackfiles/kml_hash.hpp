#pragma once
// The keyed hash of KML trip files: SHA-1 over the key and the track's texts.
// The writer and the reader must start it the same way, so both use this.
#include <string>

#include "base/sha1.hpp"

namespace trelvik {

inline constexpr size_t kKmlHashKeyLength = 17;
inline constexpr size_t kKmlHashDigits = 40;

// The 17-character key. Fixed for good: changing it turns every signature in
// every file already written into a mismatch.
std::string KmlHashKey();

// A fresh hash state with the key already fed.
void StartKmlHash(Sha1State& state);

}  // namespace trelvik
