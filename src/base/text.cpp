#include "base/text.h"

#include <cstdint>
#include <cstring>

namespace tabrel {

std::string_view RTrimView(std::string_view text) {
  // Stored fields are mostly padding (a note of one line is 500 bytes, most
  // of them blanks), so the blanks are passed 32 and then eight at a time.
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
  std::size_t end = text.size();
  for (std::uint64_t w[4]; end >= 32; end -= 32) {
    std::memcpy(w, text.data() + end - 32, 32);
    if (((w[0] ^ kEightBlanks) | (w[1] ^ kEightBlanks) | (w[2] ^ kEightBlanks) |
         (w[3] ^ kEightBlanks)) != 0) {
      break;
    }
  }
  for (std::uint64_t word; end >= 8; end -= 8) {
    std::memcpy(&word, text.data() + end - 8, 8);
    if (word != kEightBlanks) break;
  }
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
