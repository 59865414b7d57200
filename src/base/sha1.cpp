#include "base/sha1.h"

#include <bit>
#include <cstring>

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

}  // namespace

std::array<std::uint8_t, 20> Sha1(std::string_view bytes) {
  std::array<std::uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t at = 0; at < whole; at += 64) Compress(h, data + at);
  // The tail, a 1 bit, zeros, and the length in bits as 64 bits big-endian.
  std::uint8_t tail[128] = {};
  const std::size_t rest = bytes.size() - whole;
  if (rest > 0) std::memcpy(tail, data + whole, rest);
  tail[rest] = 0x80;
  const std::size_t tail_size = rest < 56 ? 64 : 128;
  const std::uint64_t bits = std::uint64_t{bytes.size()} * 8;
  for (int i = 0; i < 8; ++i) tail[tail_size - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
  for (std::size_t at = 0; at < tail_size; at += 64) Compress(h, tail + at);
  std::array<std::uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i)
    digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

}  // namespace tabrel
