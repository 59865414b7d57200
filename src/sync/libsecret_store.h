#pragma once

#include "sync/secret_store.h"

namespace tabrel {

// The desktop's secret store over libsecret (GNOME Keyring, KWallet and
// KeePassXC all serve it on the session bus). Items carry the attributes
// application = tabrel, url and user, so a terminal can keep one too:
//   secret-tool store --label=Tabrel application tabrel url URL user USER
class LibsecretStore : public SecretStore {
 public:
  Result<std::string> Lookup(const std::string& url, const std::string& user) override;
  Status Keep(const std::string& url, const std::string& user,
              const std::string& password) override;
};

}  // namespace tabrel
