#pragma once

#include <string>

#include "base/result.h"

namespace tabrel {

// The folder exports go to unless the user names another: the user's
// documents folder, ending with "/". That is $XDG_DOCUMENTS_DIR when it
// names an existing folder; else the folder the XDG_DOCUMENTS_DIR line of
// user-dirs.dirs names (in $XDG_CONFIG_HOME, or ~/.config), "$HOME" in it
// standing for the home folder, when that folder exists; else the home
// folder itself. Fails only when HOME is needed and is not an absolute
// path. A null pointer stands for an unset variable.
Result<std::string> DocumentsFolderPath(const char* xdg_documents_dir, const char* xdg_config_home,
                                        const char* home);
// The same, from this process's environment.
Result<std::string> DocumentsFolderPath();

}  // namespace tabrel
