#pragma once

#include <string>

#include "base/result.h"
#include "base/status.h"

namespace tabrel {

// Where a password can be kept instead of a file: the desktop's secret
// store (Secret Service) in the program, a map in tests. Passwords are
// kept under the server's address and the user name.
class SecretStore {
 public:
  virtual ~SecretStore() = default;
  // The password kept for `user` at `url`; empty when none is kept. An
  // error says the store itself could not be reached.
  virtual Result<std::string> Lookup(const std::string& url, const std::string& user) = 0;
  // Keeps `password`, replacing one kept before.
  virtual Status Keep(const std::string& url, const std::string& user,
                      const std::string& password) = 0;
};

}  // namespace tabrel
