// The digest that names exported cards.
#include "base/sha1.h"

#include <gtest/gtest.h>

#include <string>

namespace tabrel {
namespace {

std::string Hex(const std::array<std::uint8_t, 20>& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : digest) {
    text.push_back(kHex[b >> 4]);
    text.push_back(kHex[b & 15]);
  }
  return text;
}

// Both ways of computing it, whichever this processor takes.
TEST(Sha1Test, DigestsMatchTheStandardsExamples) {
  for (auto* sha1 : {&Sha1, &Sha1Portable}) {
    EXPECT_EQ(Hex(sha1("")), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Hex(sha1("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Hex(sha1("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Hex(sha1(std::string(1000000, 'a'))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
  }
}

}  // namespace
}  // namespace tabrel
