#include "base/sha1.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/sha1_compress.hpp"
#include "trackfiles/kml_hash.hpp"

namespace trelvik {
namespace {

std::string Digest(std::string_view text) {
  Sha1State state;
  Sha1Init(state);
  Sha1Update(state, text);
  return Sha1Final(state);
}

struct Sha1Case {
  const char* name;
  std::string message;
  const char* digest;
};

// ASCII texts give FIPS 180 SHA-1 exactly; bytes of 128 and above are packed as
// signed values, which the services that check our files do as well.
TEST(Sha1, KnownDigests) {
  const Sha1Case cases[] = {
      {"empty", "", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abc", "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"two blocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      {"million a", std::string(1000000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
      {"signed bytes", "Flytec 6030 \xC3\x84", "78FF139205FDBA165A084E65DED90AFA610C44D4"},
      {"three 0xFF", "\xFF\xFF\xFF", "52A95037DFC55A580577EF2D97F57C18160E6C10"},
  };
  for (const Sha1Case& c : cases) EXPECT_EQ(Digest(c.message), c.digest) << c.name;
}

TEST(Sha1, PiecesGiveTheSameDigestAsTheWhole) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  // Pieces of every length up to two words cross word and block boundaries at
  // every offset.
  for (size_t piece = 1; piece <= 9; ++piece) {
    Sha1State state;
    Sha1Init(state);
    for (size_t at = 0; at < all.size(); at += piece) Sha1Update(state, std::string_view(all).substr(at, piece));
    EXPECT_EQ(Sha1Final(state), "6876D7B2ECA9CAF3714186E6049B5A8F9040E511") << piece;
  }
  EXPECT_EQ(Digest(all), "6876D7B2ECA9CAF3714186E6049B5A8F9040E511");
}

using CompressFunction = void (*)(Sha1Chain&, const Sha1Block&);

// FIPS 180 padding of an ASCII message, block by block through one compression path.
std::string DigestThrough(CompressFunction compress, const std::string& message) {
  std::string padded = message + '\x80';
  while (padded.size() % 64 != 56) padded += '\0';
  const uint64_t bits = uint64_t{message.size()} * 8;
  for (int shift = 56; shift >= 0; shift -= 8) padded += static_cast<char>(bits >> shift);
  Sha1Chain chain = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  for (size_t at = 0; at < padded.size(); at += 64) {
    Sha1Block words;
    for (size_t i = 0; i < 16; ++i) {
      words[i] = 0;
      for (size_t b = 0; b < 4; ++b) words[i] = words[i] << 8 | static_cast<unsigned char>(padded[at + 4 * i + b]);
    }
    compress(chain, words);
  }
  std::string digest;
  for (const uint32_t word : chain) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", word);
    digest += hex;
  }
  return digest;
}

std::vector<std::pair<const char*, CompressFunction>> CompressPaths() {
  std::vector<std::pair<const char*, CompressFunction>> paths = {{"portable", Sha1CompressPortable}};
  if (Sha1InstructionsAvailable()) paths.emplace_back("instructions", Sha1CompressWithInstructions);
  return paths;
}

// Each compression path on its own: the dispatch picks one, so the other
// would otherwise go untested on this machine.
TEST(Sha1Compress, EveryPathGivesKnownDigests) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      {std::string(1000000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
  };
  for (const auto& [name, compress] : CompressPaths()) {
    for (const auto& [message, digest] : cases) {
      EXPECT_EQ(DigestThrough(compress, message), digest) << name << " " << message.size();
    }
  }
}

TEST(Sha1Compress, PathsAgreeOnArbitraryWords) {
  if (!Sha1InstructionsAvailable()) GTEST_SKIP() << "this processor has no SHA instructions";
  Sha1Chain portable = {1, 2, 3, 4, 5};
  Sha1Chain instructions = {1, 2, 3, 4, 5};
  uint32_t x = 2463534242u;  // xorshift: every bit pattern, top bits included
  for (int block = 0; block < 2000; ++block) {
    Sha1Block words;
    for (uint32_t& word : words) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      word = x;
    }
    Sha1CompressPortable(portable, words);
    Sha1CompressWithInstructions(instructions, words);
    ASSERT_EQ(std::vector<uint32_t>(portable, portable + 5), std::vector<uint32_t>(instructions, instructions + 5))
        << block;
  }
}

TEST(KmlHashKey, SeventeenPrintableCharactersFedFirst) {
  const std::string key = KmlHashKey();
  ASSERT_EQ(key.size(), 17u);
  for (char c : key) EXPECT_TRUE(c > ' ' && c < 127);
  Sha1State keyed;
  StartKmlHash(keyed);
  Sha1Update(keyed, "x");
  EXPECT_EQ(Sha1Final(keyed), Digest(key + "x"));
}

}  // namespace
}  // namespace trelvik
