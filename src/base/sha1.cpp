#include "base/sha1.h"

#include <bit>
#include <cstring>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define TABREL_SHA_NI 1
#endif

namespace tabrel {
namespace {

void Compress(std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
  std::uint32_t w[80];
  for (int t = 0; t < 16; ++t) {
    w[t] = (std::uint32_t{block[4 * t]} << 24) | (std::uint32_t{block[4 * t + 1]} << 16) |
           (std::uint32_t{block[4 * t + 2]} << 8) | std::uint32_t{block[4 * t + 3]};
  }
  for (int t = 16; t < 80; ++t) w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  // Four runs of twenty rounds, each with its own function and constant:
  // no test of the round number inside the loop (a vCard export hashes
  // one block a card).
  const auto round = [&](std::uint32_t f, std::uint32_t k, std::uint32_t word) {
    const std::uint32_t next = std::rotl(a, 5) + f + e + k + word;
    e = d;
    d = c;
    c = std::rotl(b, 30);
    b = a;
    a = next;
  };
  for (int t = 0; t < 20; ++t) round((b & c) | (~b & d), 0x5A827999, w[t]);
  for (int t = 20; t < 40; ++t) round(b ^ c ^ d, 0x6ED9EBA1, w[t]);
  for (int t = 40; t < 60; ++t) round((b & c) | (b & d) | (c & d), 0x8F1BBCDC, w[t]);
  for (int t = 60; t < 80; ++t) round(b ^ c ^ d, 0xCA62C1D6, w[t]);
  h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
}

#if TABREL_SHA_NI
// The same compression by the processor's SHA instructions, where it has
// them: four rounds an instruction, several times faster than the rounds
// above. Group g does rounds 4g to 4g + 3 and extends the message schedule
// as the instructions require.
template <int g>
__attribute__((target("sha,sse4.1"), always_inline)) inline void Rounds(__m128i& abcd,
                                                                        __m128i (&e)[2],
                                                                        __m128i (&msg)[4]) {
  __m128i& next_e = e[g % 2];
  if constexpr (g == 0) {
    next_e = _mm_add_epi32(next_e, msg[0]);
  } else {
    next_e = _mm_sha1nexte_epu32(next_e, msg[g % 4]);
  }
  e[(g + 1) % 2] = abcd;
  if constexpr (g >= 3 && g <= 18)
    msg[(g + 1) % 4] = _mm_sha1msg2_epu32(msg[(g + 1) % 4], msg[g % 4]);
  abcd = _mm_sha1rnds4_epu32(abcd, next_e, g / 5);
  if constexpr (g >= 1 && g <= 16)
    msg[(g + 3) % 4] = _mm_sha1msg1_epu32(msg[(g + 3) % 4], msg[g % 4]);
  if constexpr (g >= 2 && g <= 17) msg[(g + 2) % 4] = _mm_xor_si128(msg[(g + 2) % 4], msg[g % 4]);
}

template <int... g>
__attribute__((target("sha,sse4.1"), always_inline)) inline void AllRounds(
    __m128i& abcd, __m128i (&e)[2], __m128i (&msg)[4], std::integer_sequence<int, g...>) {
  (Rounds<g>(abcd, e, msg), ...);
}

__attribute__((target("sha,sse4.1"))) void CompressWithShaInstructions(
    std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
  const __m128i byte_order = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
  __m128i abcd =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h.data())), 0x1B);
  const __m128i abcd_before = abcd;
  __m128i e[2] = {_mm_set_epi32(static_cast<int>(h[4]), 0, 0, 0), _mm_setzero_si128()};
  const __m128i e_before = e[0];
  __m128i msg[4];
  for (int i = 0; i < 4; ++i) {
    msg[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i)),
                              byte_order);
  }
  AllRounds(abcd, e, msg, std::make_integer_sequence<int, 20>{});
  // Group 19 left the next E in e[0].
  e[0] = _mm_sha1nexte_epu32(e[0], e_before);
  abcd = _mm_shuffle_epi32(_mm_add_epi32(abcd, abcd_before), 0x1B);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h.data()), abcd);
  h[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e[0], 3));
}
#endif

// The compression this processor does fastest.
void CompressBlock(std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
#if TABREL_SHA_NI
  // Asked of the processor itself: not every compiler's builtin knows "sha".
  static const bool has_sha = [] {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_SSE4_1) == 0) return false;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) != 0 && (b & bit_SHA) != 0;
  }();
  if (has_sha) {
    CompressWithShaInstructions(h, block);
    return;
  }
#endif
  Compress(h, block);
}

using CompressFunction = void (*)(std::array<std::uint32_t, 5>&, const std::uint8_t*);

std::array<std::uint8_t, 20> Digest(std::string_view bytes, CompressFunction compress) {
  std::array<std::uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t at = 0; at < whole; at += 64) compress(h, data + at);
  // The tail, a 1 bit, zeros, and the length in bits as 64 bits big-endian.
  std::uint8_t tail[128] = {};
  const std::size_t rest = bytes.size() - whole;
  if (rest > 0) std::memcpy(tail, data + whole, rest);
  tail[rest] = 0x80;
  const std::size_t tail_size = rest < 56 ? 64 : 128;
  const std::uint64_t bits = std::uint64_t{bytes.size()} * 8;
  for (int i = 0; i < 8; ++i) tail[tail_size - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
  for (std::size_t at = 0; at < tail_size; at += 64) compress(h, tail + at);
  std::array<std::uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i)
    digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

}  // namespace

std::array<std::uint8_t, 20> Sha1(std::string_view bytes) {
  return Digest(bytes, CompressBlock);
}

std::array<std::uint8_t, 20> Sha1Portable(std::string_view bytes) {
  return Digest(bytes, Compress);
}

}  // namespace tabrel
