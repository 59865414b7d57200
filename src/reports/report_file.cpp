#include "reports/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "store/record_file.h"

namespace tabrel {
namespace {

Status FromErrorCode(const std::error_code& ec, const std::string& path) {
  return Status::FromErrno(ec.value(), path);
}

bool Faulted(const RewriteFaultHook* fault, RewriteStep step) {
  return fault && *fault && (*fault)(step);
}

}  // namespace

Status WriteReportFile(const std::string& path, std::string_view content,
                       const RewriteFaultHook* fault) {
  if (Status s = RemoveReportFile(path); !s.ok()) return s;
  if (Faulted(fault, RewriteStep::kCreate)) return Status::FromErrno(EIO, path);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return Status::FromErrno(errno, path);
  auto give_up = [&](int err) {
    ::close(fd);
    ::unlink(path.c_str());
    return Status::FromErrno(err, path);
  };
  if (Faulted(fault, RewriteStep::kWrite)) return give_up(EIO);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return give_up(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  // A delayed write error (a full disk on a network folder) shows at close.
  if (Faulted(fault, RewriteStep::kClose)) return give_up(EIO);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(path.c_str());
    return Status::FromErrno(err, path);
  }
  return Status::Ok();
}

Result<std::string> ReadReportFile(const std::string& path) {
  // A report file that is gone was moved away by File: that is news for the
  // user, so it is not created empty the way a record file would be.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Status::FromErrno(errno, path);
  return RecordFile(path, 1).ReadRaw();
}

Status RemoveReportFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Status::FromErrno(errno, path);
  return Status::Ok();
}

Status MoveReportFile(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return Status::Ok();
  }
  int err = errno;
  if (err == EINVAL || err == ENOSYS) {
    // A file system without the no-replace rename: test, then rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
      err = EEXIST;
    } else if (std::rename(from.c_str(), to.c_str()) == 0) {
      return Status::Ok();
    } else {
      err = errno;
    }
  }
  if (err == EEXIST) return Status::Error(kFileAlreadyExists, "File already exists (" + to + ")");
  if (err != EXDEV) return Status::FromErrno(err, to);
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, ec);
  if (ec) {
    if (ec == std::errc::file_exists) {
      return Status::Error(kFileAlreadyExists, "File already exists (" + to + ")");
    }
    std::error_code ignored;
    std::filesystem::remove(to, ignored);  // a partial copy
    return FromErrorCode(ec, to);
  }
  if (::unlink(from.c_str()) != 0) return Status::FromErrno(errno, from);
  return Status::Ok();
}

Status CopyReportFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) return FromErrorCode(ec, ReportFileExists(from) ? to : from);
  return Status::Ok();
}

bool ReportFileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool NextReportLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const std::size_t cr = text.find('\r');
  if (cr == std::string_view::npos) {
    line = text;
    text = {};
    return true;
  }
  line = text.substr(0, cr);
  const std::size_t next = cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1;
  text.remove_prefix(next);
  return true;
}

}  // namespace tabrel
