#include "base/text_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "base/codec.h"

namespace tabrel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view WithoutUtf8Bom(std::string_view text) {
  return text.starts_with(kUtf8Bom) ? text.substr(kUtf8Bom.size()) : text;
}

DecodedText DecodeUtf16(std::string_view bytes, bool big_endian) {
  DecodedText out;
  out.encoding = big_endian ? "UTF-16BE" : "UTF-16LE";
  out.text.reserve(bytes.size());
  auto unit = [&](std::size_t at) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[at]);
    const auto b = static_cast<unsigned char>(bytes[at + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) {
    const char32_t u = unit(at);
    if (u >= 0xD800 && u <= 0xDBFF && at + 3 < bytes.size()) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out.text, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        at += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out.text, kReplacement);
      ++out.invalid;
    } else {
      AppendUtf8(out.text, u);
    }
  }
  if (at < bytes.size()) {  // half a code unit at the end
    AppendUtf8(out.text, kReplacement);
    ++out.invalid;
  }
  return out;
}

// Text in UTF-16 without a byte-order mark: Latin text has a zero byte in
// every other place, on the same side throughout, and almost never a zero
// byte on the other side. Returns 0 when the bytes do not look like it,
// else 'L' or 'B'.
char Utf16Without(std::string_view bytes) {
  const std::size_t n = std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1};
  if (n < 4) return 0;
  std::size_t zero_even = 0;
  std::size_t zero_odd = 0;
  for (std::size_t i = 0; i < n; i += 2) {
    zero_even += bytes[i] == '\0';
    zero_odd += bytes[i + 1] == '\0';
  }
  const std::size_t units = n / 2;
  if (zero_odd * 10 >= units * 6 && zero_even == 0) return 'L';
  if (zero_even * 10 >= units * 6 && zero_odd == 0) return 'B';
  return 0;
}

// `text` with each sequence IsValidUtf8 refuses (a code point past
// U+10FFFF, a surrogate, an overlong form, a stray byte) as U+FFFD, one for
// each byte; adds their number to `bad`.
std::string WithoutMalformedUtf8(std::string_view text, std::size_t& bad) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    const std::string_view sequence = text.substr(i, length);
    if (sequence.size() < length || !IsValidUtf8(sequence)) {
      AppendUtf8(out, kReplacement);
      ++bad;
      ++i;
      continue;
    }
    out.append(sequence);
    i += length;
  }
  return out;
}

}  // namespace

std::optional<DecodedText> DecodeUnicodeForm(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) {
    const std::string_view rest = bytes.substr(kUtf8Bom.size());
    DecodedText out;
    out.encoding = "UTF-8";
    if (IsValidUtf8(rest)) {
      out.text.assign(rest);
    } else {
      out.text = ConvertToUtf8(rest, "UTF-8", &out.invalid).value();
    }
    return out;
  }
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  if (const char order = Utf16Without(bytes); order != 0) return DecodeUtf16(bytes, order == 'B');
  return std::nullopt;
}

std::string Utf8OrWindows1252(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : DecodeCp1252(bytes);
}

std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset) {
  std::string name(charset);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (name.empty()) return std::nullopt;
  // Bytes that are not what the set says were written by a program that
  // names UTF-8 or ASCII for whatever it wrote: read them as unnamed text.
  if (name == "UTF-8" || name == "UTF8" || name == "US-ASCII" || name == "ASCII") {
    return Utf8OrWindows1252(bytes);
  }
  if (name == "WINDOWS-1252" || name == "CP1252" || name == "ISO-8859-1" || name == "ISO8859-1" ||
      name == "ISO_8859-1" || name == "LATIN1") {
    return DecodeCp1252(bytes);
  }
  auto converted = ConvertToUtf8(bytes, name);
  if (!converted.ok()) return std::nullopt;
  return std::move(converted.value());
}

DecodedText DecodeText(std::string_view bytes) {
  if (auto unicode = DecodeUnicodeForm(bytes)) return std::move(*unicode);
  if (IsValidUtf8(bytes)) return {std::string(bytes), "UTF-8", 0};
  return {DecodeCp1252(bytes), "Windows-1252", 0};
}

DecodedText DecodeText(std::string&& bytes) {
  if (!bytes.starts_with(kUtf8Bom) && Utf16Without(bytes) == 0 && IsValidUtf8(bytes)) {
    return {std::move(bytes), "UTF-8", 0};
  }
  return DecodeText(std::string_view(bytes));
}

Result<DecodedText> DecodeTextAs(std::string_view bytes, const std::string& encoding) {
  if (encoding.empty()) return DecodeText(bytes);
  DecodedText out;
  out.encoding = encoding;
  auto text = ConvertToUtf8(bytes, encoding, &out.invalid);
  if (!text.ok()) return text.status();
  // UTF-8 keeps its mark through the converter; the UTF-16 ones drop theirs.
  const std::string_view kept = WithoutUtf8Bom(text.value());
  out.text = kept.size() == text.value().size() ? std::move(text.value()) : std::string(kept);
  return out;
}

Result<std::string> ConvertToUtf8(std::string_view bytes, const std::string& encoding,
                                  std::size_t* invalid) {
  iconv_t cd = ::iconv_open("UTF-8", encoding.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    return Status::Error(error_number::kPathFileAccess,
                         "The text encoding " + encoding + " is not known on this system");
  }
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  std::size_t done = 0;
  std::size_t bad = 0;
  auto room = [&] {
    if (out.size() - done < 16) out.resize(out.size() * 2);
  };
  auto replace = [&] {
    room();
    std::string mark;
    AppendUtf8(mark, kReplacement);
    out.replace(done, mark.size(), mark);
    done += mark.size();
    ++bad;
  };
  while (in_left > 0) {
    room();
    char* to = out.data() + done;
    std::size_t to_left = out.size() - done;
    const std::size_t r = ::iconv(cd, &in, &in_left, &to, &to_left);
    done = static_cast<std::size_t>(to - out.data());
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else if (errno == EILSEQ) {
      replace();
      ++in;
      --in_left;
    } else {  // EINVAL: the input ends inside a character
      replace();
      in_left = 0;
    }
  }
  // What a stateful encoding still holds (a shift back, say).
  for (;;) {
    room();
    char* to = out.data() + done;
    std::size_t to_left = out.size() - done;
    const std::size_t r = ::iconv(cd, nullptr, nullptr, &to, &to_left);
    done = static_cast<std::size_t>(to - out.data());
    if (r != static_cast<std::size_t>(-1) || errno != E2BIG) break;
    out.resize(out.size() * 2);
  }
  ::iconv_close(cd);
  out.resize(done);
  // glibc's UTF-8 reads and writes code points past U+10FFFF, which nothing
  // else in the program takes for UTF-8.
  if (!IsValidUtf8(out)) out = WithoutMalformedUtf8(out, bad);
  if (invalid != nullptr) *invalid = bad;
  return out;
}

}  // namespace tabrel
