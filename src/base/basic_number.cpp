#include "base/basic_number.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tabrel {
namespace {

double RadixValue(std::string_view digits, int radix) {
  std::uint64_t value = 0;
  std::size_t used = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= radix) break;
    value = (value * static_cast<unsigned>(radix) + static_cast<unsigned>(d)) & 0xFFFFFFFFu;
    ++used;
  }
  // Short hex and octal literals are 16-bit, longer ones 32-bit, both signed.
  const bool is_short = radix == 16 ? used <= 4 : value <= 0xFFFF;
  if (is_short) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

double BasicVal(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
  }
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return RadixValue(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return RadixValue(std::string_view(s).substr(2), 8);
    return 0;
  }

  std::string number;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  bool digits = false;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    number.push_back(s[i++]);
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    number.push_back(s[i++]);
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      number.push_back(s[i++]);
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    bool exp_digits = false;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
      exponent.push_back(s[j++]);
      exp_digits = true;
    }
    if (exp_digits) number += exponent;
  }
  // from_chars, unlike strtod, never reads a decimal comma from the user's
  // locale, which the GUI takes on.
  std::string_view digits_only = number;
  if (digits_only.starts_with('+')) digits_only.remove_prefix(1);
  double value = 0;
  const auto [end, error] =
      std::from_chars(digits_only.data(), digits_only.data() + digits_only.size(), value);
  if (error == std::errc::result_out_of_range) return 0;
  return std::isfinite(value) ? value : 0;
}

std::optional<std::int16_t> RoundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default mode rounds half to even
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::string ShortestDecimal(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string out(buffer, end);
  if (const auto e = out.find('e'); e != std::string::npos) out[e] = 'E';
  return out;
}

std::string BasicStr(float value) {
  // As printf's "%.7G" writes it, but without the user's locale (a decimal
  // comma in a stamp would make it unreadable) and a good deal faster, since
  // every imported record gets a stamp.
  char buffer[48];
  char* begin = buffer + 1;  // room for the sign
  char* end = nullptr;
  if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
    // A whole number of seven digits or fewer is written as one: the common
    // case (whole seconds, counts) without the floating-point formatter.
    if (std::signbit(value)) *begin++ = '-';
    end = std::to_chars(begin, buffer + sizeof buffer, static_cast<long>(std::fabs(value))).ptr;
    begin = buffer + 1;
  } else {
    end = std::to_chars(begin, buffer + sizeof buffer, static_cast<double>(value),
                        std::chars_format::general, 7)
              .ptr;
  }
  if (char* e = std::find(begin, end, 'e'); e != end) *e = 'E';
  char sign = ' ';
  if (begin != end && *begin == '-') {
    sign = '-';
    ++begin;
  }
  if (end - begin > 1 && begin[0] == '0' && begin[1] == '.') ++begin;
  *--begin = sign;
  return std::string(begin, end);
}

}  // namespace tabrel
