#include "base/sha1.hpp"

namespace trelvik {
namespace {

constexpr uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

// Twenty rounds of one kind: `f` is the round's function of b, c and d.
template <typename Function>
void Rounds(uint32_t (&v)[5], const uint32_t* w, uint32_t k, Function f) {
  for (int t = 0; t < 20; ++t) {
    const uint32_t temp = Rotl(v[0], 5) + f(v[1], v[2], v[3]) + v[4] + k + w[t];
    v[4] = v[3];
    v[3] = v[2];
    v[2] = Rotl(v[1], 30);
    v[1] = v[0];
    v[0] = temp;
  }
}

void ProcessBlock(Sha1State& state) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = state.words[t];
  for (int t = 16; t < 80; ++t) w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t v[5] = {state.chain[0], state.chain[1], state.chain[2], state.chain[3], state.chain[4]};
  Rounds(v, w, 0x5A827999u, [](uint32_t b, uint32_t c, uint32_t d) { return (b & c) | (~b & d); });
  Rounds(v, w + 20, 0x6ED9EBA1u, [](uint32_t b, uint32_t c, uint32_t d) { return b ^ c ^ d; });
  Rounds(v, w + 40, 0x8F1BBCDCu, [](uint32_t b, uint32_t c, uint32_t d) { return (b & c) | (b & d) | (c & d); });
  Rounds(v, w + 60, 0xCA62C1D6u, [](uint32_t b, uint32_t c, uint32_t d) { return b ^ c ^ d; });
  for (int i = 0; i < 5; ++i) state.chain[i] += v[i];
  for (uint32_t& word : state.words) word = 0;
}

// One byte into the current block, packed as a signed value (see the header).
void PackByte(Sha1State& state, int value) {
  uint32_t& word = state.words[(state.byteCount % 64) / 4];
  word = word * 256u + static_cast<uint32_t>(value);
  ++state.byteCount;
  if (state.byteCount % 64 == 0) ProcessBlock(state);
}

// Four bytes that fill one whole word, packed as PackByte would pack them one
// by one (the word starts at zero).
uint32_t PackedWord(const char* bytes) {
  uint32_t word = 0;
  for (int i = 0; i < 4; ++i) word = word * 256u + static_cast<uint32_t>(static_cast<signed char>(bytes[i]));
  return word;
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
  size_t i = 0;
  // Byte by byte up to a word boundary, then whole words, then the rest.
  for (; i < text.size() && state.byteCount % 4 != 0; ++i) PackByte(state, static_cast<signed char>(text[i]));
  for (; i + 4 <= text.size(); i += 4) {
    state.words[(state.byteCount % 64) / 4] = PackedWord(text.data() + i);
    state.byteCount += 4;
    if (state.byteCount % 64 == 0) ProcessBlock(state);
  }
  for (; i < text.size(); ++i) PackByte(state, static_cast<signed char>(text[i]));
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
