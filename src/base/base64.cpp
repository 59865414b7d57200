#include "base/base64.h"

#include <array>
#include <cstdint>

namespace tabrel {
namespace {

constexpr std::string_view kDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeValues() {
  std::array<std::int8_t, 256> values{};
  for (auto& v : values) v = -1;
  for (std::size_t i = 0; i < kDigits.size(); ++i) {
    values[static_cast<unsigned char>(kDigits[i])] = static_cast<std::int8_t>(i);
  }
  return values;
}
constexpr std::array<std::int8_t, 256> kValues = MakeValues();

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16 |
                            static_cast<unsigned char>(bytes[i + 1]) << 8 |
                            static_cast<unsigned char>(bytes[i + 2]);
    out.push_back(kDigits[n >> 18 & 63]);
    out.push_back(kDigits[n >> 12 & 63]);
    out.push_back(kDigits[n >> 6 & 63]);
    out.push_back(kDigits[n & 63]);
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out.push_back(kDigits[n >> 18 & 63]);
    out.push_back(kDigits[n >> 12 & 63]);
    out.push_back(rest == 2 ? kDigits[n >> 6 & 63] : '=');
    out.push_back('=');
  }
  return out;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  if (!AppendDecodedBase64(text, out)) return std::nullopt;
  return out;
}

bool AppendDecodedBase64(std::string_view text, std::string& out) {
  const std::size_t start = out.size();
  const auto fail = [&out, start] {
    out.resize(start);
    return false;
  };
  std::uint32_t bits = 0;
  int held = 0;
  bool padded = false;
  for (const char c : text) {
    if (c == ' ' || c == '\r' || c == '\n' || c == '\t') continue;
    if (c == '=') {
      padded = true;
      continue;
    }
    const std::int8_t v = kValues[static_cast<unsigned char>(c)];
    if (v < 0 || padded) return fail();  // a digit after the padding
    bits = bits << 6 | static_cast<std::uint32_t>(v);
    held += 6;
    if (held >= 8) {
      held -= 8;
      out.push_back(static_cast<char>(bits >> held & 0xFF));
    }
  }
  // Six bits left over are a digit that cannot end a value.
  if (held >= 6) return fail();
  return true;
}

}  // namespace tabrel
