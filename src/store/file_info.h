#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <string>

#include "base/result.h"

namespace tabrel {

class FileReader;

// What the file system says about a path, following symbolic links. Looking
// creates nothing, unlike opening a record file.
struct FileInfo {
  bool exists = false;
  bool is_folder = false;
  bool is_regular = false;
  std::size_t size = 0;
  std::time_t modified = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

// A missing path is a FileInfo with exists false; other failures (a folder on
// the way that cannot be searched, say) are a Status.
Result<FileInfo> LookAt(const std::string& path);

// True when both name one existing file, however they are spelled: by
// device and inode, so links, "..", and capitals on a case-blind disk count.
bool SameFile(const FileInfo& a, const FileInfo& b);

// What the file system says about a file already open for reading: the
// very file that is read, however its name changes meanwhile.
Result<FileInfo> LookAt(const FileReader& file);

// Whether new files can be made in `folder`: it exists, is a folder and may
// be written. Nothing is created.
Status CheckWritableFolder(const std::string& folder);

}  // namespace tabrel
