#include "base/sha1.hpp"

#include <gtest/gtest.h>

#include <string>

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
