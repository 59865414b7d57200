#pragma once

#include <memory>
#include <string>

#include "sync/http_client.h"

namespace tabrel {

struct HttpCredentials {
  std::string user;
  std::string password;  // held in memory only
};

// HttpClient on libcurl: one connection kept alive between requests, TLS
// certificates and host names verified, Basic or Digest authentication as
// the server asks. The credentials go only to `origin` (UrlParts::Origin):
// a request for another origin is refused before anything is sent.
class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient(std::string origin, HttpCredentials credentials, std::size_t max_body);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  Result<HttpResponse> Send(const HttpRequest& request) override;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
  std::string origin_;
  HttpCredentials credentials_;
  std::size_t max_body_;
  // The scheme the server offered, once known: a single one is sent with
  // the first request instead of after a refusal.
  long auth_ = 0;
};

}  // namespace tabrel
