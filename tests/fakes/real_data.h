#pragma once

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace tabrel::testing {

// The folder `kind` ("csv", "ldif", "vcard") of the collection of files
// other address books wrote, read in place (several are under copyleft
// licences and are never copied here); empty when it is not there, and
// the tests that need it are skipped. TABREL_REALDATA names the
// collection; otherwise it sits beside the repository, or beside the
// folder of worktrees the repository is checked out in.
inline std::filesystem::path RealDataFolder(std::string_view kind) {
  namespace fs = std::filesystem;
  if (const char* named = std::getenv("TABREL_REALDATA"); named != nullptr && *named != '\0') {
    return fs::is_directory(fs::path(named) / kind) ? fs::path(named) / kind : fs::path();
  }
  // The tree the build was made from: beside it, or one folder up.
  const fs::path source = fs::path(TABREL_TEST_DATA).parent_path().parent_path();
  for (const fs::path& candidate : {source.parent_path() / "shared" / "realdata",
                                    source.parent_path().parent_path() / "shared" / "realdata"}) {
    if (fs::is_directory(candidate / kind)) return candidate / kind;
  }
  return {};
}

}  // namespace tabrel::testing
