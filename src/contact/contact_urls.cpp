#include "contact/contact_urls.h"

#include <cctype>

#include "base/codec.h"
#include "base/text.h"

namespace tabrel {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char c) {
  out.push_back('%');
  out.push_back(kHex[c >> 4]);
  out.push_back(kHex[c & 0x0F]);
}

bool IsAsciiAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeChar(char c) {
  return IsAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The scheme of `text` ("http" of "http://x"), or empty when it has none.
// "example.org:8080" and "localhost:8080" are a host and a port, not a scheme.
std::string_view SchemeOf(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || !IsAsciiAlpha(text.front())) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeChar(text[i])) return {};
  }
  const std::string_view before = text.substr(0, colon);
  const bool port_follows =
      colon + 1 < text.size() && text[colon + 1] >= '0' && text[colon + 1] <= '9';
  if (port_follows && (before.find('.') != std::string_view::npos || before == "localhost")) {
    return {};
  }
  return before;
}

// Keeps what a URL may hold as it stands, including "%" escapes already in it.
std::string EscapeUnsafe(std::string_view text) {
  static constexpr std::string_view kUnsafe = " \"<>\\^`{|}";
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x21 || c >= 0x7F || kUnsafe.find(ch) != std::string_view::npos) {
      AppendEscaped(out, c);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

}  // namespace

std::string MailAddress(const ContactRecord& record, bool with_names) {
  const std::string email = Trim(record.EMail);
  if (!with_names) return DecodeCp1252(email);
  return DecodeCp1252(
      Trim(Trim(record.FirstName) + " " + Trim(record.LastName) + " <" + email + ">"));
}

std::string MailtoUrl(std::string_view address) {
  std::string url = "mailto:";
  for (char ch : address) {
    const auto c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) && c < 0x80) {
      url.push_back(ch);
    } else if (std::string_view("-._~@+").find(ch) != std::string_view::npos) {
      url.push_back(ch);
    } else {
      AppendEscaped(url, c);
    }
  }
  return url;
}

DesktopUrl WebUrl(std::string_view typed) {
  const std::string_view text = TrimView(typed);
  if (text.starts_with("//")) return {"http:" + EscapeUnsafe(text), {}};
  const std::string scheme = Lower(SchemeOf(text));
  if (scheme.empty()) return {"http://" + EscapeUnsafe(text), {}};
  if (scheme == "http" || scheme == "https") return {EscapeUnsafe(text), {}};
  return {{},
          "Tabrel opens only web addresses (http or https). \"" + std::string(text) + "\" is a " +
              scheme + ": address, so it was not opened."};
}

std::string TelUrl(std::string_view number) {
  std::string kept;
  bool digit = false;
  for (char c : number) {
    if (c >= '0' && c <= '9') digit = true;
    if ((c >= '0' && c <= '9') || std::string_view("+-.()").find(c) != std::string_view::npos) {
      kept.push_back(c);
    }
  }
  return digit ? "tel:" + kept : std::string();
}

bool LooksLikeOption(std::string_view text) {
  return TrimView(text).starts_with('-');
}

}  // namespace tabrel
