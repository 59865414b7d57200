#include "sync/carddav_client.h"

#include <unordered_map>

namespace tabrel {
namespace {

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
constexpr std::string_view kNamespaces =
    " xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"";

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string HrefKey(std::string_view href) {
  if (const std::size_t scheme = href.find("://"); scheme != std::string_view::npos) {
    const std::size_t slash = href.find('/', scheme + 3);
    href = slash == std::string_view::npos ? std::string_view("/") : href.substr(slash);
  }
  std::string out;
  for (std::size_t i = 0; i < href.size(); ++i) {
    if (href[i] == '%' && i + 2 < href.size() + 0 && HexValue(href[i + 1]) >= 0 &&
        HexValue(href[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(href[i + 1]) * 16 + HexValue(href[i + 2]));
      i += 2;
    } else {
      out += href[i];
    }
  }
  return out;
}

namespace {

std::string PathOf(const std::string& url) {
  auto parts = SplitUrl(url);
  return parts.ok() ? parts.value().path : url;
}

bool SameCollection(std::string_view a, std::string_view b) {
  std::string x = HrefKey(a), y = HrefKey(b);
  while (!x.empty() && x.back() == '/') x.pop_back();
  while (!y.empty() && y.back() == '/') y.pop_back();
  return x == y;
}

std::string LastSegment(std::string_view href) {
  std::string key = HrefKey(href);
  while (!key.empty() && key.back() == '/') key.pop_back();
  return key.substr(key.rfind('/') + 1);
}

}  // namespace

std::string HttpStatusMessage(int status) {
  switch (status) {
    case 401:
      return "the server did not accept the user name and password (401)";
    case 403:
      return "the server refused it (403 Forbidden)";
    case 404:
      return "the server has no such address book (404)";
    case 507:
      return "the server has no room left (507 Insufficient Storage)";
    default:
      return "the server answered " + std::to_string(status);
  }
}

Status CarddavClient::StatusError(const HttpResponse& response, const std::string& what) const {
  return Status::Error(kSyncError, what + " failed: " + HttpStatusMessage(response.status));
}

Result<std::string> CarddavClient::OnOrigin(const std::string& base,
                                            std::string_view reference) const {
  auto url = ResolveUrl(base, reference);
  if (!url.ok()) return url.status();
  auto parts = SplitUrl(url.value());
  if (!parts.ok()) return parts.status();
  if (parts.value().Origin() != origin_) {
    return Status::Error(kSyncError, "The server pointed to another host (" +
                                         parts.value().Origin() +
                                         "); nothing was sent there, the password included");
  }
  return url;
}

Result<HttpResponse> CarddavClient::Send(HttpRequest request) {
  for (int hops = 0;; ++hops) {
    if (proceed_ && !proceed_()) return Status::Error(kSyncCancelled, "The sync was cancelled");
    ++requests_;
    auto response = http_.Send(request);
    if (!response.ok()) return response;
    const int status = response.value().status;
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    if (!redirect) return response;
    if (hops >= 5) return Status::Error(kSyncError, "The server redirected too many times");
    auto next = OnOrigin(request.url, response.value().Header("location"));
    if (!next.ok()) return next.status();
    request.url = next.value();
  }
}

Result<DavMultistatus> CarddavClient::Propfind(const std::string& url, int depth,
                                               const std::string& props) {
  HttpRequest request{
      "PROPFIND",
      url,
      {{"Depth", std::to_string(depth)}, {"Content-Type", "application/xml; charset=utf-8"}},
      std::string(kXmlHead) + "<d:propfind" + std::string(kNamespaces) + "><d:prop>" + props +
          "</d:prop></d:propfind>"};
  auto response = Send(std::move(request));
  if (!response.ok()) return response.status();
  if (response.value().status != 207)
    return StatusError(response.value(), "Reading " + PathOf(url));
  return ParseMultistatus(response.value().body);
}

Result<std::string> CarddavClient::Discover(const std::string& url, const std::string& name) {
  const std::string kinds = "<d:resourcetype/><d:displayname/><c:supported-address-data/>";
  std::string start = url;
  auto parts = SplitUrl(url);
  if (!parts.ok()) return parts.status();
  if (parts.value().path == "/") {
    auto known = OnOrigin(url, "/.well-known/carddav");
    if (known.ok()) start = known.value();
  }
  auto here = Propfind(start, 0, kinds + "<d:current-user-principal/>");
  if (!here.ok() && start != url) here = Propfind(url, 0, kinds + "<d:current-user-principal/>");
  if (!here.ok()) return here.status();
  if (here.value().resources.empty())
    return Status::Error(kSyncError, "The server said nothing about " + url);
  const DavResource& first = here.value().resources.front();
  if (first.addressbook) {
    vcard4_ = first.vcard4;
    return OnOrigin(start, first.href.empty() ? PathOf(start) : first.href);
  }
  std::string home = start;
  if (!first.principal.empty()) {
    auto principal = OnOrigin(start, first.principal);
    if (!principal.ok()) return principal.status();
    auto set = Propfind(principal.value(), 0, "<c:addressbook-home-set/>");
    if (!set.ok()) return set.status();
    if (!set.value().resources.empty() && !set.value().resources.front().addressbook_home.empty()) {
      auto found = OnOrigin(principal.value(), set.value().resources.front().addressbook_home);
      if (!found.ok()) return found.status();
      home = found.value();
    }
  }
  auto books = Propfind(home, 1, kinds);
  if (!books.ok()) return books.status();
  std::vector<const DavResource*> found;
  std::string names;
  for (const DavResource& r : books.value().resources) {
    if (!r.addressbook) continue;
    const std::string segment = LastSegment(r.href);
    names += (names.empty() ? "" : ", ") + segment;
    if (name.empty() || name == segment || name == r.displayname) found.push_back(&r);
  }
  if (found.empty()) {
    return Status::Error(kSyncError, name.empty() ? "The server holds no address book for this user"
                                                  : "The server holds no address book called \"" +
                                                        name + "\" (it holds: " + names + ")");
  }
  if (found.size() > 1) {
    return Status::Error(kSyncError, "The server holds several address books (" + names +
                                         "): name one in the settings");
  }
  vcard4_ = found.front()->vcard4;
  return OnOrigin(home, found.front()->href);
}

Result<ServerListing> CarddavClient::FullListing(const std::string& collection) {
  auto listed = Propfind(collection, 1, "<d:getetag/><d:resourcetype/>");
  if (!listed.ok()) return listed.status();
  ServerListing listing;
  listing.full = true;
  for (DavResource& r : listed.value().resources) {
    if (r.collection || SameCollection(r.href, PathOf(collection)) || r.href.ends_with('/'))
      continue;
    if (auto on = OnOrigin(collection, r.href); !on.ok()) return on.status();
    listing.changed.push_back({std::move(r.href), std::move(r.etag), {}});
  }
  return listing;
}

Result<ServerListing> CarddavClient::List(const std::string& collection, const std::string& token) {
  HttpRequest request{"REPORT",
                      collection,
                      {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
                      std::string(kXmlHead) + "<d:sync-collection" + std::string(kNamespaces) +
                          "><d:sync-token>" + Escaped(token) +
                          "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/>"
                          "</d:prop></d:sync-collection>"};
  auto response = Send(std::move(request));
  if (!response.ok()) return response.status();
  const int status = response.value().status;
  if (status == 401 || status == 507)
    return StatusError(response.value(), "Listing the address book");
  // A token the server no longer knows (403 or 409 with valid-sync-token),
  // or no sync-collection at all: every card with its etag.
  if (status != 207) return FullListing(collection);
  auto parsed = ParseMultistatus(response.value().body);
  if (!parsed.ok()) return parsed.status();
  ServerListing listing;
  listing.full = token.empty();
  listing.sync_token = parsed.value().sync_token;
  for (DavResource& r : parsed.value().resources) {
    if (SameCollection(r.href, PathOf(collection)) || r.href.ends_with('/')) continue;
    if (auto on = OnOrigin(collection, r.href); !on.ok()) return on.status();
    if (r.status == 404) {
      listing.removed.push_back(std::move(r.href));
    } else {
      listing.changed.push_back({std::move(r.href), std::move(r.etag), {}});
    }
  }
  return listing;
}

Status CarddavClient::Fetch(const std::string& collection, std::span<ServerCard> cards,
                            std::vector<std::string>& skipped) {
  std::unordered_map<std::string, ServerCard*> by_key;
  for (ServerCard& card : cards) by_key[HrefKey(card.href)] = &card;
  auto fetch = [&](std::span<ServerCard> batch) -> Status {
    std::string body = std::string(kXmlHead) + "<c:addressbook-multiget" +
                       std::string(kNamespaces) + "><d:prop><d:getetag/><c:address-data/></d:prop>";
    for (const ServerCard& card : batch) body += "<d:href>" + Escaped(card.href) + "</d:href>";
    body += "</c:addressbook-multiget>";
    auto response = Send({"REPORT",
                          collection,
                          {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                          std::move(body)});
    if (!response.ok()) return response.status();
    if (response.value().status != 207) return StatusError(response.value(), "Fetching cards");
    auto parsed = ParseMultistatus(response.value().body);
    if (!parsed.ok()) return parsed.status();
    for (DavResource& r : parsed.value().resources) {
      const auto found = by_key.find(HrefKey(r.href));
      if (found == by_key.end() || r.address_data.size() > kMaxCard) continue;
      found->second->text = std::move(r.address_data);
      if (!r.etag.empty()) found->second->etag = std::move(r.etag);
    }
    return Status::Ok();
  };
  for (std::size_t at = 0; at < cards.size(); at += kBatch) {
    const std::span<ServerCard> batch = cards.subspan(at, std::min(kBatch, cards.size() - at));
    Status status = fetch(batch);
    if (status.number() == kSyncCancelled) return status;
    if (!status.ok() && batch.size() > 1) {
      // One bad card should not keep the others: each on its own.
      for (std::size_t i = 0; i < batch.size(); ++i) {
        Status one = fetch(batch.subspan(i, 1));
        if (one.number() == kSyncCancelled) return one;
      }
    } else if (!status.ok() && status.description().find("refused") == std::string::npos) {
      return status;
    }
  }
  for (const ServerCard& card : cards) {
    if (card.text.empty()) skipped.push_back(card.href);
  }
  return Status::Ok();
}

Result<WriteOutcome> CarddavClient::Write(HttpRequest request, const std::string& collection,
                                          const std::string& href, const std::string& what) {
  auto url = OnOrigin(collection, href);
  if (!url.ok()) return url.status();
  request.url = url.value();
  const bool is_delete = request.method == "DELETE";
  auto response = Send(std::move(request));
  if (!response.ok()) return response.status();
  const int status = response.value().status;
  WriteOutcome outcome;
  outcome.conflict = status == 412;
  // A card already gone is what a DELETE wanted.
  const bool gone = status == 404 && is_delete;
  if (!outcome.conflict && !gone && (status < 200 || status >= 300)) {
    return StatusError(response.value(), what + " " + href);
  }
  outcome.etag = std::string(response.value().Header("etag"));
  return outcome;
}

Result<WriteOutcome> CarddavClient::Put(const std::string& collection, const std::string& href,
                                        const std::string& etag, const std::string& text) {
  HttpRequest request{"PUT", {}, {{"Content-Type", "text/vcard; charset=utf-8"}}, text};
  request.headers.push_back(etag.empty() ? std::pair<std::string, std::string>{"If-None-Match", "*"}
                                         : std::pair<std::string, std::string>{"If-Match", etag});
  return Write(std::move(request), collection, href, "Sending");
}

Result<WriteOutcome> CarddavClient::Delete(const std::string& collection, const std::string& href,
                                           const std::string& etag) {
  HttpRequest request{"DELETE", {}, {}, {}};
  if (!etag.empty()) request.headers.push_back({"If-Match", etag});
  return Write(std::move(request), collection, href, "Deleting");
}

}  // namespace tabrel
