#include "base/sha1_compress.hpp"

#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TRELVIK_SHA1_X86 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace trelvik {
namespace {

constexpr uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

// Message word t of the schedule, kept in a window of sixteen: computed in the
// round that takes it (a schedule computed ahead in one loop gets vectorised
// into overlapping stores and loads that stall on each other).
template <int kRound>
inline uint32_t ScheduleWord(uint32_t (&w)[16]) {
  if constexpr (kRound >= 16) {
    w[kRound % 16] = Rotl(w[(kRound - 3) % 16] ^ w[(kRound - 8) % 16] ^ w[(kRound - 14) % 16] ^ w[kRound % 16], 1);
  }
  return w[kRound % 16];
}

// One round. The five working variables rotate through the parameters of the
// callers instead of being moved, so they all stay in registers.
template <int kRound>
inline void Round(uint32_t a, uint32_t& b, uint32_t c, uint32_t d, uint32_t& e, uint32_t (&w)[16]) {
  const uint32_t word = ScheduleWord<kRound>(w);
  if constexpr (kRound < 20) {
    e += Rotl(a, 5) + (d ^ (b & (c ^ d))) + 0x5A827999u + word;
  } else if constexpr (kRound < 40) {
    e += Rotl(a, 5) + (b ^ c ^ d) + 0x6ED9EBA1u + word;
  } else if constexpr (kRound < 60) {
    e += Rotl(a, 5) + ((b & c) | (d & (b | c))) + 0x8F1BBCDCu + word;
  } else {
    e += Rotl(a, 5) + (b ^ c ^ d) + 0xCA62C1D6u + word;
  }
  b = Rotl(b, 30);
}

// Five rounds from round kFirst on: after them the variables stand where they began.
template <int kFirst>
inline void FiveRounds(uint32_t (&v)[5], uint32_t (&w)[16]) {
  Round<kFirst>(v[0], v[1], v[2], v[3], v[4], w);
  Round<kFirst + 1>(v[4], v[0], v[1], v[2], v[3], w);
  Round<kFirst + 2>(v[3], v[4], v[0], v[1], v[2], w);
  Round<kFirst + 3>(v[2], v[3], v[4], v[0], v[1], w);
  Round<kFirst + 4>(v[1], v[2], v[3], v[4], v[0], w);
}

template <int... kGroup>
inline void AllRounds(uint32_t (&v)[5], uint32_t (&w)[16], std::integer_sequence<int, kGroup...>) {
  (FiveRounds<kGroup * 5>(v, w), ...);
}

#ifdef TRELVIK_SHA1_X86

// The four message vectors in flight and the working state of the SHA-NI rounds.
struct VectorState {
  __m128i message[4];
  __m128i abcd;
  __m128i saved;  // ABCD before the previous group of four rounds, from which E follows
};

// Rounds 4h to 4h+3, and the message schedule work that falls into them:
// vector h+1 is finished, h+2 gets its XOR and h+3 is begun.
template <int kGroup>
__attribute__((target("sha,sse4.1"), always_inline)) inline void FourRounds(VectorState& s, __m128i firstE) {
  const __m128i current = s.message[kGroup % 4];
  const __m128i e = kGroup == 0 ? _mm_add_epi32(firstE, current) : _mm_sha1nexte_epu32(s.saved, current);
  s.saved = s.abcd;
  s.abcd = _mm_sha1rnds4_epu32(s.abcd, e, kGroup / 5);
  if constexpr (kGroup >= 3 && kGroup <= 18) {
    s.message[(kGroup + 1) % 4] = _mm_sha1msg2_epu32(s.message[(kGroup + 1) % 4], current);
  }
  if constexpr (kGroup >= 2 && kGroup <= 17) {
    s.message[(kGroup + 2) % 4] = _mm_xor_si128(s.message[(kGroup + 2) % 4], current);
  }
  if constexpr (kGroup >= 1 && kGroup <= 16) {
    s.message[(kGroup + 3) % 4] = _mm_sha1msg1_epu32(s.message[(kGroup + 3) % 4], current);
  }
}

template <int... kGroup>
__attribute__((target("sha,sse4.1"), always_inline)) inline void AllVectorRounds(
    VectorState& s, __m128i firstE, std::integer_sequence<int, kGroup...>) {
  (FourRounds<kGroup>(s, firstE), ...);
}

#endif

}  // namespace

void Sha1CompressPortable(Sha1Chain& chain, const Sha1Block& words) {
  uint32_t w[16];
  for (int t = 0; t < 16; ++t) w[t] = words[t];
  uint32_t v[5] = {chain[0], chain[1], chain[2], chain[3], chain[4]};
  AllRounds(v, w, std::make_integer_sequence<int, 16>{});
  for (int i = 0; i < 5; ++i) chain[i] += v[i];
}

#ifdef TRELVIK_SHA1_X86

bool Sha1InstructionsAvailable() {
  // Asked of the processor itself: not every compiler's __builtin_cpu_supports knows "sha".
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return false;
  const bool sse41 = (ecx & (1u << 19)) != 0;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return false;
  const bool sha = (ebx & (1u << 29)) != 0;
  return sse41 && sha;
}

__attribute__((target("sha,sse4.1"))) void Sha1CompressWithInstructions(Sha1Chain& chain, const Sha1Block& words) {
  // The instructions keep A in the highest lane and take the first word of
  // each group of four in the highest lane as well.
  VectorState s;
  for (int i = 0; i < 4; ++i) {
    s.message[i] = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words + 4 * i)), 0x1B);
  }
  const __m128i startAbcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(chain)), 0x1B);
  const __m128i startE = _mm_set_epi32(static_cast<int>(chain[4]), 0, 0, 0);
  s.abcd = startAbcd;
  s.saved = startAbcd;
  AllVectorRounds(s, startE, std::make_integer_sequence<int, 20>{});
  const __m128i e = _mm_sha1nexte_epu32(s.saved, startE);
  const __m128i abcd = _mm_shuffle_epi32(_mm_add_epi32(s.abcd, startAbcd), 0x1B);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(chain), abcd);
  chain[4] = static_cast<uint32_t>(_mm_extract_epi32(e, 3));
}

#else

bool Sha1InstructionsAvailable() { return false; }

void Sha1CompressWithInstructions(Sha1Chain& chain, const Sha1Block& words) { Sha1CompressPortable(chain, words); }

#endif

void Sha1Compress(Sha1Chain& chain, const Sha1Block& words) {
  // Asked once: the processor does not change under a running program.
  static const bool instructions = Sha1InstructionsAvailable();
  if (instructions) {
    Sha1CompressWithInstructions(chain, words);
  } else {
    Sha1CompressPortable(chain, words);
  }
}

}  // namespace trelvik
