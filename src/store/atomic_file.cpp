#include "store/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace tabrel {
namespace {

bool Faulted(const RewriteFaultHook& fault, RewriteStep step) {
  return fault && fault(step);
}

// Makes the rename itself durable; a failure here cannot undo anything, so
// it is not reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Writes the pieces in order, many per system call; 0 or an errno.
int WritePieces(int fd, std::span<const std::string_view> pieces) {
  std::vector<iovec> batch;
  std::size_t next = 0;
  std::size_t skip = 0;  // bytes of pieces[next] already written
  while (next < pieces.size()) {
    batch.clear();
    for (std::size_t i = next; i < pieces.size() && batch.size() < IOV_MAX; ++i) {
      const std::string_view piece = i == next ? pieces[i].substr(skip) : pieces[i];
      if (!piece.empty()) batch.push_back({const_cast<char*>(piece.data()), piece.size()});
    }
    if (batch.empty()) break;
    const ssize_t n = ::writev(fd, batch.data(), static_cast<int>(batch.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    auto left = static_cast<std::size_t>(n);
    while (next < pieces.size() && left >= pieces[next].size() - skip) {
      left -= pieces[next].size() - skip;
      skip = 0;
      ++next;
    }
    skip += left;
  }
  return 0;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

StagedRewrite::~StagedRewrite() {
  if (staged_) ::unlink(temp_.c_str());
}

Status StagedRewrite::Stage(const std::string& path, std::string_view content,
                            const std::string& temp_name, const RewriteFaultHook& fault) {
  return Stage(path, std::span<const std::string_view>(&content, 1), temp_name, fault);
}

Status StagedRewrite::Stage(const std::string& path, std::span<const std::string_view> pieces,
                            const std::string& temp_name, const RewriteFaultHook& fault) {
  path_ = path;
  temp_ = FolderOf(path) + temp_name;
  fault_ = fault;

  if (Faulted(fault, RewriteStep::kCreate)) return Status::FromErrno(EIO, temp_);
  const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Status::FromErrno(errno, temp_);

  auto give_up = [&](int err, bool close_fd) {
    if (close_fd) ::close(fd);
    ::unlink(temp_.c_str());
    return Status::FromErrno(err, temp_);
  };

  if (Faulted(fault, RewriteStep::kWrite)) return give_up(EIO, true);
  if (int err = WritePieces(fd, pieces); err != 0) return give_up(err, true);
  if (Faulted(fault, RewriteStep::kFlush)) return give_up(EIO, true);
  if (::fsync(fd) != 0) return give_up(errno, true);
  if (Faulted(fault, RewriteStep::kClose)) return give_up(EIO, true);
  if (::close(fd) != 0) return give_up(errno, false);
  staged_ = true;
  return Status::Ok();
}

Status StagedRewrite::Commit() {
  if (!staged_) return Status::FromErrno(EINVAL, path_);
  staged_ = false;
  int err = 0;
  if (Faulted(fault_, RewriteStep::kRename)) {
    err = EIO;
  } else if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    err = errno;
  }
  if (err != 0) {
    ::unlink(temp_.c_str());
    return Status::FromErrno(err, temp_);
  }
  SyncFolder(FolderOf(path_));
  return Status::Ok();
}

Status AtomicRewrite(const std::string& path, std::span<const std::string_view> pieces,
                     const std::string& temp_name, const RewriteFaultHook& fault) {
  StagedRewrite rewrite;
  if (Status s = rewrite.Stage(path, pieces, temp_name, fault); !s.ok()) return s;
  return rewrite.Commit();
}

Status AtomicRewrite(const std::string& path, std::string_view content,
                     const std::string& temp_name, const RewriteFaultHook& fault) {
  StagedRewrite rewrite;
  if (Status s = rewrite.Stage(path, content, temp_name, fault); !s.ok()) return s;
  return rewrite.Commit();
}

}  // namespace tabrel
