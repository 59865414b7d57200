#include "sync/http_client.h"

#include <cctype>

namespace tabrel {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

Status BadUrl(std::string_view url, const char* why) {
  return Status::Error(error_number::kPathNotFound,
                       "The address \"" + std::string(url.substr(0, 200)) + "\" " + why);
}

}  // namespace

std::string UrlParts::Origin() const {
  const bool v6 = host.find(':') != std::string::npos;
  return scheme + "://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

Result<UrlParts> SplitUrl(std::string_view url) {
  for (const char c : url) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f)
      return BadUrl(url, "holds a blank or a control character");
  }
  const std::size_t colon = url.find("://");
  if (colon == std::string_view::npos) return BadUrl(url, "is not an http or https address");
  UrlParts parts;
  parts.scheme = Lower(url.substr(0, colon));
  if (parts.scheme != "http" && parts.scheme != "https") {
    return BadUrl(url, "is not an http or https address");
  }
  std::string_view rest = url.substr(colon + 3);
  const std::size_t slash = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, slash);
  parts.path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
  if (const std::size_t hash = parts.path.find('#'); hash != std::string::npos)
    parts.path.resize(hash);
  if (parts.path.empty() || parts.path[0] != '/') parts.path.insert(0, "/");
  if (authority.find('@') != std::string_view::npos) {
    return BadUrl(url, "holds a user name: give it in the settings instead");
  }
  std::string_view port_text;
  if (!authority.empty() && authority[0] == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return BadUrl(url, "has a broken host");
    parts.host = Lower(authority.substr(1, close - 1));
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return BadUrl(url, "has a broken host");
      port_text = authority.substr(close + 2);
    }
  } else {
    const std::size_t at = authority.rfind(':');
    parts.host = Lower(authority.substr(0, at));
    if (at != std::string_view::npos) port_text = authority.substr(at + 1);
  }
  if (parts.host.empty()) return BadUrl(url, "names no host");
  parts.port = parts.scheme == "https" ? 443 : 80;
  if (!port_text.empty()) {
    int port = 0;
    for (const char c : port_text) {
      if (!std::isdigit(static_cast<unsigned char>(c)) || port > 65535)
        return BadUrl(url, "has a broken port");
      port = port * 10 + (c - '0');
    }
    if (port == 0 || port > 65535) return BadUrl(url, "has a broken port");
    parts.port = port;
  }
  return parts;
}

Result<std::string> ResolveUrl(std::string_view base, std::string_view reference) {
  auto parts = SplitUrl(base);
  if (!parts.ok()) return parts.status();
  if (reference.find("://") != std::string_view::npos) {
    auto own = SplitUrl(reference);
    if (!own.ok()) return own.status();
    return std::string(reference);
  }
  for (const char c : reference) {
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7f)
      return BadUrl(reference, "holds a control character");
  }
  std::string path;
  if (reference.starts_with("//")) return BadUrl(reference, "names another host");
  if (!reference.empty() && reference[0] == '/') {
    path = std::string(reference);
  } else {
    path = parts.value().path;
    if (const std::size_t q = path.find('?'); q != std::string::npos) path.resize(q);
    path.resize(path.rfind('/') + 1);
    path += reference;
  }
  const UrlParts& p = parts.value();
  const bool v6 = p.host.find(':') != std::string::npos;
  return p.scheme + "://" + (v6 ? "[" + p.host + "]" : p.host) + ":" + std::to_string(p.port) +
         path;
}

bool IsLoopbackHost(std::string_view host) {
  return host == "localhost" || host == "::1" || host.starts_with("127.");
}

}  // namespace tabrel
