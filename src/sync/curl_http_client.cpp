#include "sync/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>

#include "sync/loaded_library.h"

namespace tabrel {
namespace {

constexpr int kNetworkError = 57;

struct Reading {
  HttpResponse* response;
  std::size_t max_body;
  bool too_large = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* reading = static_cast<Reading*>(user);
  const std::size_t n = size * count;
  if (reading->response->body.size() + n > reading->max_body) {
    reading->too_large = true;
    return 0;  // makes curl stop with a write error
  }
  reading->response->body.append(data, n);
  return n;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* reading = static_cast<Reading*>(user);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    reading->response->headers.clear();  // a 100 Continue or an auth round came first
    return line.size();
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return line.size();
  std::string name(line.substr(0, colon));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
    value.remove_suffix(1);
  reading->response->headers.emplace_back(std::move(name), std::string(value));
  return line.size();
}

// The few libcurl functions a request needs, found when the first client
// is made.
struct Curl {
  LoadedLibrary library{"libcurl.so.4"};
  decltype(&curl_global_init) global_init = nullptr;
  decltype(&curl_easy_init) easy_init = nullptr;
  decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&curl_easy_reset) easy_reset = nullptr;
  decltype(&curl_easy_setopt) easy_setopt = nullptr;
  decltype(&curl_easy_perform) easy_perform = nullptr;
  decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&curl_easy_strerror) easy_strerror = nullptr;
  decltype(&curl_slist_append) slist_append = nullptr;
  decltype(&curl_slist_free_all) slist_free_all = nullptr;
  bool ready = false;

  Curl() {
    ready = library.Find(global_init, "curl_global_init") &&
            library.Find(easy_init, "curl_easy_init") &&
            library.Find(easy_cleanup, "curl_easy_cleanup") &&
            library.Find(easy_reset, "curl_easy_reset") &&
            library.Find(easy_setopt, "curl_easy_setopt") &&
            library.Find(easy_perform, "curl_easy_perform") &&
            library.Find(easy_getinfo, "curl_easy_getinfo") &&
            library.Find(easy_strerror, "curl_easy_strerror") &&
            library.Find(slist_append, "curl_slist_append") &&
            library.Find(slist_free_all, "curl_slist_free_all") &&
            global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  }
};

const Curl& TheCurl() {
  static const Curl* curl = new Curl();
  return *curl;
}

}  // namespace

struct CurlHttpClient::Handle {
  CURL* curl = nullptr;
  ~Handle() {
    if (curl) TheCurl().easy_cleanup(curl);
  }
};

CurlHttpClient::CurlHttpClient(std::string origin, HttpCredentials credentials,
                               std::size_t max_body)
    : handle_(std::make_unique<Handle>()),
      origin_(std::move(origin)),
      credentials_(std::move(credentials)),
      max_body_(max_body) {
  if (TheCurl().ready) handle_->curl = TheCurl().easy_init();
}

CurlHttpClient::~CurlHttpClient() {
  std::fill(credentials_.password.begin(), credentials_.password.end(), '\0');
}

Result<HttpResponse> CurlHttpClient::Send(const HttpRequest& request) {
  CURL* curl = handle_->curl;
  if (!curl) {
    const std::string& why = TheCurl().library.error();
    return Status::Error(kNetworkError, "The network library could not be started" +
                                            (why.empty() ? std::string() : " (" + why + ")"));
  }
  const Curl& c = TheCurl();
  auto parts = SplitUrl(request.url);
  if (!parts.ok()) return parts.status();
  if (parts.value().Origin() != origin_) {
    return Status::Error(kNetworkError, "A request for " + parts.value().Origin() +
                                            " was refused: the password belongs to " + origin_);
  }
  HttpResponse response;
  Reading reading{&response, max_body_};
  c.easy_reset(curl);
  c.easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  c.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  c.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  c.easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  c.easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  c.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  c.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // A server that sends nothing for five minutes is given up on (a small one
  // takes minutes to list thousands of cards the first time).
  c.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  c.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 300L);
  c.easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  c.easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  if (request.method == "GET") c.easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  if (!request.body.empty() || request.method == "PUT") {
    c.easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    c.easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
  }
  if (!credentials_.user.empty()) {
    c.easy_setopt(curl, CURLOPT_HTTPAUTH, auth_ != 0 ? auth_ : CURLAUTH_BASIC | CURLAUTH_DIGEST);
    c.easy_setopt(curl, CURLOPT_USERNAME, credentials_.user.c_str());
    c.easy_setopt(curl, CURLOPT_PASSWORD, credentials_.password.c_str());
  }
  curl_slist* headers = nullptr;
  // No "Expect: 100-continue" wait before each body.
  headers = c.slist_append(headers, "Expect:");
  for (const auto& [name, value] : request.headers) {
    headers = c.slist_append(headers, (name + ": " + value).c_str());
  }
  c.easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  c.easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  c.easy_setopt(curl, CURLOPT_WRITEDATA, &reading);
  c.easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  c.easy_setopt(curl, CURLOPT_HEADERDATA, &reading);
  const CURLcode code = c.easy_perform(curl);
  c.slist_free_all(headers);
  if (reading.too_large) {
    return Status::Error(kNetworkError, "The server's answer to " + request.method +
                                            " was larger than " +
                                            std::to_string(max_body_ / (1024 * 1024)) + " MB");
  }
  if (code != CURLE_OK) {
    return Status::Error(kNetworkError, "The server at " + origin_ + " could not be reached (" +
                                            c.easy_strerror(code) + ")");
  }
  long status = 0;
  c.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  response.status = static_cast<int>(status);
  long offered = 0;
  c.easy_getinfo(curl, CURLINFO_HTTPAUTH_AVAIL, &offered);
  if (offered & CURLAUTH_DIGEST) auth_ = CURLAUTH_DIGEST;
  if (offered & CURLAUTH_BASIC) auth_ = CURLAUTH_BASIC;
  return response;
}

}  // namespace tabrel
