#include "base/charset.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "base/codec.h"

namespace tabrel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

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

bool IsWellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
      extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// UTF-16 code units from `bytes` (little- or big-endian) as UTF-8; an
// unpaired surrogate or a lone last byte becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t at) -> char16_t {
    const auto a = static_cast<unsigned char>(bytes[at]);
    const auto b = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char16_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out.append(kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  if (i < bytes.size()) out.append(kReplacement);
  return out;
}

// UTF-16 without a byte-order mark: plain text in it (Latin letters,
// digits, the punctuation of a file format) has a zero byte in every other
// place, the high byte of each unit.
std::optional<bool> Utf16WithoutMark(std::string_view bytes) {
  const std::size_t length = std::min<std::size_t>(bytes.size(), 512) & ~std::size_t{1};
  if (length < 4) return std::nullopt;
  std::size_t even_zeros = 0;
  std::size_t odd_zeros = 0;
  for (std::size_t i = 0; i < length; i += 2) {
    even_zeros += bytes[i] == '\0';
    odd_zeros += bytes[i + 1] == '\0';
  }
  const std::size_t units = length / 2;
  if (even_zeros * 2 >= units && odd_zeros == 0) return true;   // big-endian
  if (odd_zeros * 2 >= units && even_zeros == 0) return false;  // little-endian
  return std::nullopt;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::optional<std::string> Iconv(std::string_view bytes, const std::string& charset) {
  const iconv_t cd = iconv_open("UTF-8", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  std::size_t used = 0;
  const auto room = [&](std::size_t needed) {
    if (out.size() - used < needed) out.resize(out.size() * 2 + needed);
  };
  while (in_left > 0) {
    char* to = out.data() + used;
    std::size_t to_left = out.size() - used;
    const std::size_t done = iconv(cd, &in, &in_left, &to, &to_left);
    used = static_cast<std::size_t>(to - out.data());
    if (done != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      room(64);
      continue;
    }
    // A byte that starts no character (EILSEQ) or a sequence cut short at
    // the end (EINVAL): one replacement, and on from the next byte.
    room(kReplacement.size());
    out.replace(used, kReplacement.size(), kReplacement);
    used += kReplacement.size();
    ++in;
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  for (;;) {  // the closing shift sequence of a stateful set
    room(16);
    char* to = out.data() + used;
    std::size_t to_left = out.size() - used;
    const std::size_t done = iconv(cd, nullptr, nullptr, &to, &to_left);
    used = static_cast<std::size_t>(to - out.data());
    if (done != static_cast<std::size_t>(-1) || errno != E2BIG) break;
  }
  iconv_close(cd);
  out.resize(used);
  return out;
}

}  // namespace

FileText SettleUnicodeForm(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {std::string(bytes.substr(3)), true, "UTF-8"};
  if (bytes.starts_with("\xFF\xFE")) return {Utf16ToUtf8(bytes.substr(2), false), true, "UTF-16LE"};
  if (bytes.starts_with("\xFE\xFF")) return {Utf16ToUtf8(bytes.substr(2), true), true, "UTF-16BE"};
  if (const auto big_endian = Utf16WithoutMark(bytes)) {
    return {Utf16ToUtf8(bytes, *big_endian), true, *big_endian ? "UTF-16BE" : "UTF-16LE"};
  }
  return {std::string(bytes), false, "8-bit"};
}

std::string Utf8OrWindows1252(std::string_view bytes) {
  return IsWellFormedUtf8(bytes) ? std::string(bytes) : DecodeCp1252(bytes);
}

std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset) {
  const std::string name = UpperAscii(charset);
  if (name == "UTF-8" || name == "UTF8") return std::string(bytes);
  if (name == "US-ASCII" || name == "ASCII") return Utf8OrWindows1252(bytes);
  if (name == "WINDOWS-1252" || name == "CP1252" || name == "ISO-8859-1" || name == "ISO8859-1" ||
      name == "LATIN1" || name == "ISO_8859-1") {
    return DecodeCp1252(bytes);
  }
  if (name.empty()) return std::nullopt;
  return Iconv(bytes, name);
}

}  // namespace tabrel
