#pragma once

#include <string>
#include <vector>

#include "base/status.h"

namespace tabrel {

// Hands a file or an address to another program. Nothing goes through a
// command shell, so no character of a path, address or setting is ever
// interpreted. Texts are UTF-8.
class Shell {
 public:
  virtual ~Shell() = default;
  // Starts argv[0] (looked up on PATH when it holds no "/") with the other
  // words as its arguments, in a window of its own, and does not wait for
  // it. A program that cannot be started is reported here, the Status
  // saying why (the caller says that it could not be started).
  virtual Status StartProgram(const std::vector<std::string>& argv) = 0;
  // Opens `path` with the desktop's default application for its type. A
  // desktop with no such application is reported here.
  virtual Status OpenWithDefault(const std::string& path) = 0;
  // Hands a complete URL ("mailto:", "http:", "https:", "tel:") to the
  // program the desktop registered for its scheme. A desktop with no such
  // program is reported here. The caller decides which URLs are safe.
  virtual Status OpenUrl(const std::string& url) = 0;
};

}  // namespace tabrel
