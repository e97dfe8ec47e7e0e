#include "base/sha1.hpp"

namespace trelvik {
namespace {

constexpr uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

void ProcessBlock(Sha1State& state) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = state.words[t];
  for (int t = 16; t < 80; ++t) w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t a = state.chain[0], b = state.chain[1], c = state.chain[2], d = state.chain[3], e = state.chain[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f;
    uint32_t k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999u;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1u;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDCu;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6u;
    }
    const uint32_t temp = Rotl(a, 5) + f + e + k + w[t];
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = temp;
  }
  state.chain[0] += a;
  state.chain[1] += b;
  state.chain[2] += c;
  state.chain[3] += d;
  state.chain[4] += e;
  for (uint32_t& word : state.words) word = 0;
}

// One byte into the current block, packed as a signed value (see the header).
void PackByte(Sha1State& state, int value) {
  uint32_t& word = state.words[(state.byteCount % 64) / 4];
  word = word * 256u + static_cast<uint32_t>(value);
  ++state.byteCount;
  if (state.byteCount % 64 == 0) ProcessBlock(state);
}

}  // namespace

void Sha1Init(Sha1State& state) {
  state = Sha1State{};
  state.chain[0] = 0x67452301u;
  state.chain[1] = 0xEFCDAB89u;
  state.chain[2] = 0x98BADCFEu;
  state.chain[3] = 0x10325476u;
  state.chain[4] = 0xC3D2E1F0u;
}

void Sha1Update(Sha1State& state, std::string_view text) {
  for (char c : text) PackByte(state, static_cast<signed char>(c));
}

std::string Sha1Final(Sha1State& state) {
  const uint32_t bitLength = state.byteCount * 8u;
  PackByte(state, 0x80);  // the padding byte is the plain 0x80 of FIPS 180, not a message byte
  while (state.byteCount % 64 != 56) PackByte(state, 0);
  // A zero word, then the length in bits: written straight into the last two words.
  state.words[14] = 0;
  state.words[15] = bitLength;
  ProcessBlock(state);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digest(40, '0');
  for (int i = 0; i < 5; ++i) {
    for (int nibble = 0; nibble < 8; ++nibble) {
      digest[static_cast<size_t>(i * 8 + nibble)] = kHex[(state.chain[i] >> (28 - 4 * nibble)) & 0xF];
    }
  }
  return digest;
}

}  // namespace trelvik
