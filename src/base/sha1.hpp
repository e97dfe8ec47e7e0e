#pragma once
// SHA-1 as the keyed hashes of KML trip files use it. Message bytes are packed
// into the big-endian words as signed 8-bit values (word = word * 256 + b with
// b in -128..127); for texts made only of bytes below 128 this is exactly
// FIPS 180 SHA-1, and for other bytes it is what the services that check our
// files compute, so it must never be "corrected". The byte count is 32 bits:
// the length word of the padding holds the message length in bits modulo 2^32
// with a zero word before it.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik {

struct Sha1State {
  uint32_t chain[5] = {};
  uint32_t byteCount = 0;
  unsigned char pending[64] = {};  // the bytes of the block not yet full
};

void Sha1Init(Sha1State& state);
void Sha1Update(Sha1State& state, std::string_view text);
// Pads, finishes and returns the digest as "%08X%08X%08X%08X%08X" of the five
// chaining words: 40 upper-case hex digits. The state must be re-initialised
// before it is used again.
[[nodiscard]] std::string Sha1Final(Sha1State& state);

}  // namespace trelvik
