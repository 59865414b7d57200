#pragma once

#include <string>

#include "base/result.h"
#include "base/status.h"

namespace tabrel {

// The program folder, where tr30.ini and the temporary and report files
// live: "tabrel/" in the user's data folder. That is $XDG_DATA_HOME when it
// holds an absolute path; an unset, empty or relative one is ignored, as the
// XDG base directory rule says, and ~/.local/share is used instead. Every
// front end finds the folder here so that they all work on the same files.
//
// The result ends with "/". Fails when HOME is needed and is not an absolute
// path. A null pointer stands for an unset variable.
Result<std::string> ProgramFolderPath(const char* xdg_data_home, const char* home);
// The same, from this process's environment.
Result<std::string> ProgramFolderPath();

// Creates `folder` and each missing folder above it, readable by the owner
// only (0700), as the XDG rule asks for folders it creates. Folders that
// already exist are left as they are.
Status MakeProgramFolder(const std::string& folder);

}  // namespace tabrel
