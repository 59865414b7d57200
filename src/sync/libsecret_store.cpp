#include "sync/libsecret_store.h"

#include <libsecret/secret.h>

#include "sync/loaded_library.h"

namespace tabrel {
namespace {

constexpr int kSecretStoreError = 75;

// Items are matched by their attributes alone, so one kept by secret-tool
// (which names no schema) is found as well.
const SecretSchema kSchema = {"org.tabrel.CardDAV",
                              SECRET_SCHEMA_DONT_MATCH_NAME,
                              {{"application", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {"url", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                               {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                              0,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr};

// libsecret's few functions, found at the first use of the store.
struct Libsecret {
  LoadedLibrary library{"libsecret-1.so.0"};
  decltype(&secret_password_lookup_sync) lookup = nullptr;
  decltype(&secret_password_store_sync) store = nullptr;
  decltype(&secret_password_free) free_password = nullptr;
  decltype(&g_error_free) free_error = nullptr;
  bool ready = false;

  Libsecret() {
    ready = library.Find(lookup, "secret_password_lookup_sync") &&
            library.Find(store, "secret_password_store_sync") &&
            library.Find(free_password, "secret_password_free") &&
            library.Find(free_error, "g_error_free");
  }
};

const Libsecret& Loaded() {
  static const Libsecret* loaded = new Libsecret();
  return *loaded;
}

const Libsecret* TheLibsecret() {
  return Loaded().ready ? &Loaded() : nullptr;
}

Status Failed(const std::string& what, GError* error) {
  std::string text = "The desktop's secret store could not " + what;
  if (error != nullptr) {
    text += std::string(" (") + error->message + ")";
    TheLibsecret()->free_error(error);
  }
  return Status::Error(kSecretStoreError, text);
}

Status Unavailable(const std::string& what) {
  return Status::Error(kSecretStoreError, "The desktop's secret store could not " + what + " (" +
                                              Loaded().library.error() + ")");
}

}  // namespace

Result<std::string> LibsecretStore::Lookup(const std::string& url, const std::string& user) {
  const Libsecret* api = TheLibsecret();
  if (api == nullptr) return Unavailable("be read");
  GError* error = nullptr;
  gchar* found = api->lookup(&kSchema, nullptr, &error, "application", "tabrel", "url", url.c_str(),
                             "user", user.c_str(), nullptr);
  if (error != nullptr) return Failed("be read", error);
  if (found == nullptr) return std::string();
  std::string password(found);
  // Wiped as it is freed.
  api->free_password(found);
  return password;
}

Status LibsecretStore::Keep(const std::string& url, const std::string& user,
                            const std::string& password) {
  const Libsecret* api = TheLibsecret();
  if (api == nullptr) return Unavailable("keep the password");
  GError* error = nullptr;
  const std::string label = "Tabrel: " + user + " on " + url;
  const gboolean kept = api->store(&kSchema, SECRET_COLLECTION_DEFAULT, label.c_str(),
                                   password.c_str(), nullptr, &error, "application", "tabrel",
                                   "url", url.c_str(), "user", user.c_str(), nullptr);
  if (!kept) return Failed("keep the password", error);
  return Status::Ok();
}

}  // namespace tabrel
