#include "store/program_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tabrel {
namespace {

bool IsAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

Result<std::string> ProgramFolderPath(const char* xdg_data_home, const char* home) {
  if (IsAbsolute(xdg_data_home)) return WithoutTrailingSlashes(xdg_data_home) + "/tabrel/";
  if (!IsAbsolute(home)) {
    return Status::Error(error_number::kPathNotFound,
                         "Path not found (the program folder: neither XDG_DATA_HOME nor HOME "
                         "names an absolute folder)");
  }
  std::string base = WithoutTrailingSlashes(home);
  if (base != "/") base += '/';
  return base + ".local/share/tabrel/";
}

Result<std::string> ProgramFolderPath() {
  return ProgramFolderPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

Status MakeProgramFolder(const std::string& folder) {
  std::string path = WithoutTrailingSlashes(folder);
  // The missing folders, innermost first.
  std::vector<std::string> missing;
  struct stat st {};
  while (::stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return Status::FromErrno(errno, path);
    missing.push_back(path);
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) break;
    path.erase(slash);
  }
  if (missing.empty() && !S_ISDIR(st.st_mode)) return Status::FromErrno(ENOTDIR, folder);
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    // Another process may create the same folder at the same moment.
    if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) return Status::FromErrno(errno, *it);
  }
  return Status::Ok();
}

}  // namespace tabrel
