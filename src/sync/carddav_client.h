#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "sync/dav_multistatus.h"
#include "sync/http_client.h"

namespace tabrel {

// A card as the server lists it.
struct ServerCard {
  std::string href;  // as the server wrote it (a path)
  std::string etag;
  std::string text;  // filled by Fetch
};

// What changed on the server since a sync token, or (full) every card.
struct ServerListing {
  bool full = false;  // every card is listed; one not listed is gone
  std::vector<ServerCard> changed;
  std::vector<std::string> removed;  // hrefs, from a sync-collection only
  std::string sync_token;            // empty when the server gave none
};

// How a PUT or DELETE ended.
struct WriteOutcome {
  bool conflict = false;  // 412: the card is not as we last saw it
  std::string etag;       // the card's new etag when the server gave one
};

// The CardDAV requests of a sync, over an HttpClient bound to one origin.
// Every href and Location the server sends is checked to stay on that
// origin; an answer that leaves it is refused, so the credentials never
// travel elsewhere. Statuses become messages naming what failed (401: the
// user name or password, 403: refused, 507: the server is full).
class CarddavClient {
 public:
  // Called before each request; returning false stops the sync there.
  using Proceed = std::function<bool()>;

  CarddavClient(HttpClient& http, std::string origin, Proceed proceed = nullptr)
      : http_(http), origin_(std::move(origin)), proceed_(std::move(proceed)) {}

  // The address book `url` leads to: the collection itself, or through the
  // user's principal and address-book home (from "/.well-known/carddav"
  // when `url` is a bare host) the one called `name` (its last path
  // segment or its display name), or the only one.
  Result<std::string> Discover(const std::string& url, const std::string& name);
  // Whether the collection takes vCard 4.0.
  bool vcard4() const { return vcard4_; }

  // Changes since `token` (sync-collection); with no token, or one the
  // server no longer knows, or a server without sync-collection, every
  // card with its etag (a full listing).
  Result<ServerListing> List(const std::string& collection, const std::string& token);
  // The text of each card, fetched in batches (addressbook-multiget). A
  // card the server does not return, or returns larger than `max_card`,
  // keeps an empty text and is named in `skipped`.
  Status Fetch(const std::string& collection, std::span<ServerCard> cards,
               std::vector<std::string>& skipped);

  // PUT of `text` at `href`: If-None-Match: * for a new card (`etag`
  // empty), If-Match otherwise.
  Result<WriteOutcome> Put(const std::string& collection, const std::string& href,
                           const std::string& etag, const std::string& text);
  Result<WriteOutcome> Delete(const std::string& collection, const std::string& href,
                              const std::string& etag);

  std::size_t requests() const { return requests_; }
  static constexpr std::size_t kBatch = 250;
  static constexpr std::size_t kMaxCard = 4u << 20;

 private:
  // Sends `request`, following redirects within the origin.
  Result<HttpResponse> Send(HttpRequest request);
  Result<std::string> OnOrigin(const std::string& base, std::string_view reference) const;
  Result<DavMultistatus> Propfind(const std::string& url, int depth, const std::string& props);
  Result<ServerListing> FullListing(const std::string& collection);
  // A PUT or DELETE of `href`: 412 is a conflict, not a failure.
  Result<WriteOutcome> Write(HttpRequest request, const std::string& collection,
                             const std::string& href, const std::string& what);
  Status StatusError(const HttpResponse& response, const std::string& what) const;

  HttpClient& http_;
  std::string origin_;
  Proceed proceed_;
  bool vcard4_ = false;
  std::size_t requests_ = 0;
};

// The path of an href with percent escapes undone, for comparing hrefs:
// servers escape the same name differently from one answer to the next.
std::string HrefKey(std::string_view href);

// The message a status gives, for "what" ("Listing the address book").
std::string HttpStatusMessage(int status);

inline constexpr int kSyncError = 57;
inline constexpr int kSyncCancelled = 18;  // the user stopped it

}  // namespace tabrel
