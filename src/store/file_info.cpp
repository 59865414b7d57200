#include "store/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tabrel {

Result<FileInfo> LookAt(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileInfo{};
    return Status::FromErrno(errno, path);
  }
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

bool SameFile(const FileInfo& a, const FileInfo& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

Result<std::string> ReadExistingFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::FromErrno(errno, path);
  auto fail = [&](int err) {
    ::close(fd);
    return Status::FromErrno(err, path);
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  // Read to the end rather than to the length seen first: a file that
  // grows or shrinks meanwhile still gives what one pass read.
  std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
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
