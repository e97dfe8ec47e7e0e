#include "base/sha1.hpp"

#include <cstring>

#include "base/sha1_compress.hpp"

namespace trelvik {
namespace {

constexpr size_t kBlockBytes = 64;

// Sixteen words from 64 bytes, each byte counted as a signed value: the
// big-endian word less 256^(4-i) for every byte i = 1..3 of 128 or more (for
// i = 0 that is 2^32, nothing in 32 bits), which is exactly the top bit of
// those bytes moved one place up.
void PackBlock(const unsigned char* bytes, Sha1Block& words) {
  for (size_t i = 0; i < 16; ++i) {
    const unsigned char* b = bytes + 4 * i;
    const uint32_t bigEndian = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
    words[i] = bigEndian - ((bigEndian & 0x00808080u) << 1);
  }
}

void CompressBytes(Sha1State& state, const unsigned char* bytes) {
  Sha1Block words;
  PackBlock(bytes, words);
  Sha1Compress(state.chain, words);
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
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t left = text.size();
  size_t used = state.byteCount % kBlockBytes;
  state.byteCount += static_cast<uint32_t>(left);
  if (used != 0) {
    const size_t take = left < kBlockBytes - used ? left : kBlockBytes - used;
    std::memcpy(state.pending + used, bytes, take);
    bytes += take;
    left -= take;
    used += take;
    if (used < kBlockBytes) return;
    CompressBytes(state, state.pending);
  }
  // Whole blocks straight from the text, the rest kept for later.
  for (; left >= kBlockBytes; left -= kBlockBytes, bytes += kBlockBytes) CompressBytes(state, bytes);
  if (left > 0) std::memcpy(state.pending, bytes, left);
}

std::string Sha1Final(Sha1State& state) {
  const uint32_t bitLength = state.byteCount * 8u;
  const size_t used = state.byteCount % kBlockBytes;
  // The padding byte is the plain 0x80 of FIPS 180, not a message byte: packing
  // took it as -128, which the word gets back.
  state.pending[used] = 0x80;
  std::memset(state.pending + used + 1, 0, kBlockBytes - used - 1);
  Sha1Block words;
  PackBlock(state.pending, words);
  if (used % 4 != 0) words[used / 4] += 1u << (8 * (4 - used % 4));
  if (used >= kBlockBytes - 8) {
    Sha1Compress(state.chain, words);
    for (uint32_t& word : words) word = 0;
  }
  // A zero word, then the length in bits.
  words[14] = 0;
  words[15] = bitLength;
  Sha1Compress(state.chain, words);
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
