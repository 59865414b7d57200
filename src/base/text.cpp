#include "base/text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabrel {

std::string_view RTrimView(std::string_view text) {
  // Stored fields are mostly padding (a note of one line is 500 bytes, most
  // of them blanks), so the blanks are passed sixteen at a time, and the
  // last byte that is no blank is found from the comparison's bit mask
  // rather than byte by byte.
  std::size_t end = text.size();
#if defined(__SSE2__)
  const __m128i blanks = _mm_set1_epi8(' ');
  for (; end >= 16; end -= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + end - 16));
    const auto others =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blanks))) ^ 0xFFFFu;
    // The highest bit set is the last byte that is no blank.
    if (others != 0) return text.substr(0, end - 16 + (32 - std::countl_zero(others)));
  }
#else
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
  for (std::uint64_t word; end >= 8; end -= 8) {
    std::memcpy(&word, text.data() + end - 8, 8);
    if (word != kEightBlanks) break;
  }
#endif
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

std::string_view TrimView(std::string_view text) {
  // The padding first: a blank field is then passed in eights, not byte by byte.
  text = RTrimView(text);
  std::size_t begin = 0;
  while (begin < text.size() && text[begin] == ' ') ++begin;
  return text.substr(begin);
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}
std::string RTrim(std::string_view text) {
  return std::string(RTrimView(text));
}

std::string Fit(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

bool IsBlank(std::string_view text) {
  return RTrimView(text).empty();
}

}  // namespace tabrel
