// A server's answer of arbitrary bytes, read as a WebDAV multistatus: it is
// read or refused, never crashes, and what it yields stays within the
// limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sync/dav_multistatus.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DavLimits limits;
  limits.max_resources = 50;
  limits.max_text = 4096;
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  auto parsed = ParseMultistatus(body, limits);
  if (!parsed.ok()) return 0;
  if (parsed.value().resources.size() > limits.max_resources) std::abort();
  for (const DavResource& r : parsed.value().resources) {
    if (r.address_data.size() > limits.max_text || r.href.size() > limits.max_text) std::abort();
  }
  return 0;
}
