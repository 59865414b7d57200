#include "store/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tabrel {
namespace {

// Closes the descriptor when the operation ends, whichever way it ends.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Reports a failed close, which can be where a delayed write error shows.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

Status ReadExactly(int fd, char* out, std::size_t size, off_t offset, const std::string& path) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, out + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(errno, path);
    }
    if (n == 0) return Status::FromErrno(EIO, path + " ended early");
    done += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

Status WriteExactly(int fd, const char* data, std::size_t size, off_t offset,
                    const std::string& path) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(errno, path);
    }
    done += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

// Asks the test hook whether `step` is to fail.
bool Faulted(const RewriteFaultHook* fault, RewriteStep step) {
  return fault && *fault && (*fault)(step);
}

// Flushes and closes the file, reporting a failure of either: a delayed
// write error can show at either step.
Status FlushAndClose(Fd& fd, const std::string& path, const RewriteFaultHook* fault) {
  if (Faulted(fault, RewriteStep::kFlush)) return Status::FromErrno(EIO, path);
  if (::fsync(fd.get()) != 0) return Status::FromErrno(errno, path);
  if (Faulted(fault, RewriteStep::kClose)) return Status::FromErrno(EIO, path);
  if (fd.Close() != 0) return Status::FromErrno(errno, path);
  return Status::Ok();
}

Result<std::size_t> FileSize(int fd, const std::string& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Status::FromErrno(errno, path);
  if (!S_ISREG(st.st_mode)) return Status::FromErrno(EISDIR, path);
  return static_cast<std::size_t>(st.st_size);
}

}  // namespace

RecordFile::RecordFile(std::string path, std::size_t record_length)
    : path_(std::move(path)), record_length_(record_length) {}

Status RecordFile::EnsureExists() const {
  Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() >= 0) return Status::Ok();
  if (errno != ENOENT) return Status::FromErrno(errno, path_);
  Fd created(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (created.get() < 0 && errno != EEXIST) return Status::FromErrno(errno, path_);
  return Status::Ok();
}

Result<std::size_t> RecordFile::Count() const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  auto size = FileSize(fd.get(), path_);
  if (!size.ok()) return size.status();
  return size.value() / record_length_;
}

Result<std::string> RecordFile::ReadRaw() const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  auto size = FileSize(fd.get(), path_);
  if (!size.ok()) return size.status();
  std::string bytes(size.value(), '\0');
  if (Status s = ReadExactly(fd.get(), bytes.data(), bytes.size(), 0, path_); !s.ok()) return s;
  return bytes;
}

Result<std::string> RecordFile::ReadAll() const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  auto size = FileSize(fd.get(), path_);
  if (!size.ok()) return size.status();
  std::string bytes(size.value() / record_length_ * record_length_, '\0');
  if (Status s = ReadExactly(fd.get(), bytes.data(), bytes.size(), 0, path_); !s.ok()) return s;
  return bytes;
}

Status RecordFile::Write(std::size_t n, std::string_view record,
                         const RewriteFaultHook* fault) const {
  auto count = Count();
  if (!count.ok()) return count.status();
  if (n < 1 || n > count.value()) {
    return Status::Error(error_number::kPathFileAccess,
                         "Record " + std::to_string(n) + " is not in " + path_);
  }
  std::string fitted(record.substr(0, record_length_));
  fitted.resize(record_length_, ' ');
  Fd fd(::open(path_.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  const auto offset = static_cast<off_t>((n - 1) * record_length_);
  if (Faulted(fault, RewriteStep::kWrite)) return Status::FromErrno(EIO, path_);
  if (Status s = WriteExactly(fd.get(), fitted.data(), fitted.size(), offset, path_); !s.ok()) {
    return s;
  }
  return FlushAndClose(fd, path_, fault);
}

Status RecordFile::Append(std::string_view record, const RewriteFaultHook* fault) const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  Fd fd(::open(path_.c_str(), O_RDWR | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  auto size = FileSize(fd.get(), path_);
  if (!size.ok()) return size.status();
  const std::size_t whole = size.value() / record_length_ * record_length_;
  std::string tail(size.value() - whole, '\0');
  if (Status s = ReadExactly(fd.get(), tail.data(), tail.size(), static_cast<off_t>(whole), path_);
      !s.ok()) {
    return s;
  }
  std::string out(record.substr(0, record_length_));
  out.resize(record_length_, ' ');
  out += tail;
  if (Status s =
          Faulted(fault, RewriteStep::kWrite)
              ? Status::FromErrno(EIO, path_)
              : WriteExactly(fd.get(), out.data(), out.size(), static_cast<off_t>(whole), path_);
      !s.ok()) {
    // Leave the file as long as it was, so no half record is counted.
    if (::ftruncate(fd.get(), static_cast<off_t>(size.value())) != 0) {
      return Status::FromErrno(errno, path_);
    }
    return s;
  }
  return FlushAndClose(fd, path_, fault);
}

Status RecordFile::Rewrite(std::string_view records, const std::string& temp_name,
                           const RewriteFaultHook* fault) const {
  return Rewrite(std::span<const std::string_view>(&records, 1), temp_name, fault);
}

Status RecordFile::Rewrite(std::span<const std::string_view> pieces, const std::string& temp_name,
                           const RewriteFaultHook* fault) const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  std::string tail;
  {
    Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return Status::FromErrno(errno, path_);
    auto size = FileSize(fd.get(), path_);
    if (!size.ok()) return size.status();
    tail.resize(size.value() % record_length_);
    const auto tail_offset = static_cast<off_t>(size.value() - tail.size());
    if (Status s = ReadExactly(fd.get(), tail.data(), tail.size(), tail_offset, path_); !s.ok()) {
      return s;
    }
  }
  std::vector<std::string_view> all(pieces.begin(), pieces.end());
  all.push_back(tail);
  return AtomicRewrite(path_, all, temp_name, fault ? *fault : RewriteFaultHook());
}

}  // namespace tabrel
