#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tabrel {

// What one <response> of a WebDAV multistatus says about one resource.
// Properties are taken only from a propstat whose status is 2xx.
struct DavResource {
  std::string href;
  int status =
      0;  // of the response itself (404 for a card removed in a sync-collection); 0 when not given
  std::string etag;
  bool collection = false;
  bool addressbook = false;
  std::string displayname;
  std::string principal;         // current-user-principal's href
  std::string addressbook_home;  // addressbook-home-set's first href
  std::string address_data;      // the card's text (addressbook-multiget)
  bool vcard4 = false;           // supported-address-data lists version 4.0
};

struct DavMultistatus {
  std::vector<DavResource> resources;
  std::string sync_token;
  // DAV:valid-sync-token named in an error body (a token the server no longer knows).
  bool invalid_token = false;
};

// Bounds for what a server's answer may make us hold.
struct DavLimits {
  std::size_t max_bytes = 64u << 20;
  std::size_t max_depth = 32;
  std::size_t max_resources = 70000;  // twice a data set's records, and the collection
  std::size_t max_text = 4u << 20;    // one element's text: a card with a photo
};

// Reads a multistatus (or a DAV:error) body, namespace-aware (any prefix or
// a default namespace for DAV: and CardDAV). Refused: a document type
// declaration (so no entity can be defined, inside or outside), an entity
// reference, more than the limits allow, and anything that is not XML. The
// parser reads nothing from the network or the disk.
Result<DavMultistatus> ParseMultistatus(std::string_view body, const DavLimits& limits = {});

}  // namespace tabrel
