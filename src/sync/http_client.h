#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"

namespace tabrel {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method;  // "PROPFIND", "REPORT", "PUT", ...
  std::string url;     // absolute
  HttpHeaders headers;
  std::string body;
};

struct HttpResponse {
  int status = 0;
  HttpHeaders headers;  // names lower case
  std::string body;

  // The value of header `lower` (the first), empty when absent.
  std::string_view Header(std::string_view lower) const {
    for (const auto& [name, value] : headers) {
      if (name == lower) return value;
    }
    return {};
  }
};

// One request at a time to one server. An implementation sends the
// credentials it was given only to the origin it was made for, follows no
// redirect itself (the caller decides, see CarddavClient) and stops reading
// a body past `max_body` bytes, failing the request.
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // A failure to reach the server or read its answer; any answer the server
  // gives, 4xx and 5xx included, is a response.
  virtual Result<HttpResponse> Send(const HttpRequest& request) = 0;
};

// The parts of an absolute http(s) URL.
struct UrlParts {
  std::string scheme;  // lower case
  std::string host;    // lower case, without brackets
  int port = 0;        // the scheme's default when not given
  std::string path;    // from the first "/", query included; "/" when none
  // scheme://host:port, what a credential is bound to.
  std::string Origin() const;
};
Result<UrlParts> SplitUrl(std::string_view url);
// `reference` (an href or a Location) made absolute against `base`.
Result<std::string> ResolveUrl(std::string_view base, std::string_view reference);
// 127.0.0.0/8, ::1 and "localhost".
bool IsLoopbackHost(std::string_view host);

}  // namespace tabrel
