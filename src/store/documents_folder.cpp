#include "store/documents_folder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace tabrel {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// The folder the XDG_DOCUMENTS_DIR line of user-dirs.dirs names, or "".
std::string FromUserDirs(const std::string& config_folder, const std::string& home) {
  std::ifstream in(config_folder + "/user-dirs.dirs");
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(kKey)) continue;
    std::string value = line.substr(kKey.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.starts_with("$HOME")) value = home + value.substr(5);
    return value;
  }
  return "";
}

}  // namespace

Result<std::string> DocumentsFolderPath(const char* xdg_documents_dir, const char* xdg_config_home,
                                        const char* home) {
  if (xdg_documents_dir != nullptr && IsFolder(xdg_documents_dir)) {
    return WithTrailingSlash(xdg_documents_dir);
  }
  if (home == nullptr || home[0] != '/') {
    return Status::Error(error_number::kPathNotFound,
                         "Path not found (the documents folder: HOME does not name an absolute "
                         "folder)");
  }
  const std::string config = xdg_config_home != nullptr && xdg_config_home[0] == '/'
                                 ? std::string(xdg_config_home)
                                 : std::string(home) + "/.config";
  if (const std::string named = FromUserDirs(config, home); IsFolder(named)) {
    return WithTrailingSlash(named);
  }
  return WithTrailingSlash(home);
}

Result<std::string> DocumentsFolderPath() {
  return DocumentsFolderPath(std::getenv("XDG_DOCUMENTS_DIR"), std::getenv("XDG_CONFIG_HOME"),
                             std::getenv("HOME"));
}

}  // namespace tabrel
