#include "base/codec.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabrel {
namespace {

// Unicode code points of bytes 0x80..0x9F; the other bytes map to themselves.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHigh[c - 0x80];
  return c;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

namespace {

// Reads one code point; returns false (and consumes one byte) when malformed.
bool NextCodePoint(std::string_view s, std::size_t& i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    cp = b0;
    ++i;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (i + extra >= s.size()) {
    ++i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += extra + 1;
  return true;
}

const std::unordered_map<char32_t, unsigned char>& ReverseHigh() {
  static const auto* map = [] {
    auto* m = new std::unordered_map<char32_t, unsigned char>();
    for (int k = 0; k < 32; ++k) (*m)[kHigh[k]] = static_cast<unsigned char>(0x80 + k);
    return m;
  }();
  return *map;
}

}  // namespace

std::string DecodeCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) AppendUtf8(out, ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

std::size_t AsciiPrefix(std::string_view text) {
  std::size_t i = 0;
  // Sixteen bytes at a time, the first byte past ASCII told by the bit mask
  // of their high bits: imports ask this of every value they read.
#if defined(__SSE2__)
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    if (high != 0) return i + static_cast<std::size_t>(std::countr_zero(high));
  }
#endif
  for (std::uint64_t word = 0; i + 8 <= text.size(); i += 8) {
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

EncodeResult EncodeCp1252(std::string_view utf8) {
  EncodeResult result;
  result.bytes.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    if (!NextCodePoint(utf8, i, cp)) {
      result.bytes.push_back('?');
      ++result.replaced;
      continue;
    }
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      result.bytes.push_back(static_cast<char>(cp));
      continue;
    }
    const auto& high = ReverseHigh();
    if (auto it = high.find(cp); it != high.end()) {
      result.bytes.push_back(static_cast<char>(it->second));
    } else {
      result.bytes.push_back('?');
      ++result.replaced;
    }
  }
  return result;
}

unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:  // s caron
    case 0x9C:  // oe
    case 0x9E:  // z caron
      return static_cast<unsigned char>(c - 0x10);
    case 0xFF:  // y diaeresis
      return 0x9F;
    default:
      return c;
  }
}

std::string UpperCp1252(std::string_view text) {
  std::string out(text);
  UpperCp1252InPlace(out);
  return out;
}

void UpperCp1252InPlace(std::string& text) {
  for (char& ch : text) ch = static_cast<char>(UpperCp1252(static_cast<unsigned char>(ch)));
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  char32_t cp = 0;
  while (i < text.size()) {
    // Runs of ASCII are the common case: eight bytes at a time.
    if (i + 8 <= text.size()) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, sizeof word);
      if ((word & 0x8080808080808080ull) == 0) {
        i += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    if (!NextCodePoint(text, i, cp)) return false;
  }
  return true;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

std::string UpperUtf8ByCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::string_view character =
        utf8.substr(i, Utf8SequenceLength(static_cast<unsigned char>(utf8[i])));
    i += character.size();
    const EncodeResult single = EncodeCp1252(character);
    if (single.replaced == 0 && single.bytes.size() == 1) {
      out += DecodeCp1252(std::string(
          1, static_cast<char>(UpperCp1252(static_cast<unsigned char>(single.bytes[0])))));
    } else {
      out.append(character);
    }
  }
  return out;
}

}  // namespace tabrel
