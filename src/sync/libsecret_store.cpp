#include "sync/libsecret_store.h"

#include <libsecret/secret.h>

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

Status Failed(const std::string& what, GError* error) {
  std::string text = "The desktop's secret store could not " + what;
  if (error != nullptr) {
    text += std::string(" (") + error->message + ")";
    g_error_free(error);
  }
  return Status::Error(kSecretStoreError, text);
}

}  // namespace

Result<std::string> LibsecretStore::Lookup(const std::string& url, const std::string& user) {
  GError* error = nullptr;
  gchar* found = secret_password_lookup_sync(&kSchema, nullptr, &error, "application", "tabrel",
                                             "url", url.c_str(), "user", user.c_str(), nullptr);
  if (error != nullptr) return Failed("be read", error);
  if (found == nullptr) return std::string();
  std::string password(found);
  // Wiped as it is freed.
  secret_password_free(found);
  return password;
}

Status LibsecretStore::Keep(const std::string& url, const std::string& user,
                            const std::string& password) {
  GError* error = nullptr;
  const std::string label = "Tabrel: " + user + " on " + url;
  const gboolean kept = secret_password_store_sync(
      &kSchema, SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &error,
      "application", "tabrel", "url", url.c_str(), "user", user.c_str(), nullptr);
  if (!kept) return Failed("keep the password", error);
  return Status::Ok();
}

}  // namespace tabrel
