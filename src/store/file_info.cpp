#include "store/file_info.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_reader.h"

namespace tabrel {

namespace {

FileInfo InfoOf(const struct stat& st) {
  FileInfo info;
  info.exists = true;
  info.is_folder = S_ISDIR(st.st_mode);
  info.is_regular = S_ISREG(st.st_mode);
  info.size = static_cast<std::size_t>(st.st_size);
  info.modified = st.st_mtime;
  info.device = st.st_dev;
  info.inode = st.st_ino;
  return info;
}

}  // namespace

Result<FileInfo> LookAt(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileInfo{};
    return Status::FromErrno(errno, path);
  }
  return InfoOf(st);
}

Result<FileInfo> LookAt(const FileReader& file) {
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) return Status::FromErrno(errno, file.path());
  return InfoOf(st);
}

bool SameFile(const FileInfo& a, const FileInfo& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

Status CheckWritableFolder(const std::string& folder) {
  const std::string path = folder.empty() ? "." : folder;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Status::FromErrno(errno, path);
  if (!S_ISDIR(st.st_mode)) return Status::FromErrno(ENOTDIR, path);
  if (::access(path.c_str(), W_OK | X_OK) != 0) return Status::FromErrno(errno, path);
  return Status::Ok();
}

}  // namespace tabrel
