#include "store/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_reader.h"

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

Status OutOfRange(std::size_t n, const std::string& path) {
  return Status::Error(error_number::kPathFileAccess,
                       "Record " + std::to_string(n) + " is not in " + path);
}

}  // namespace

RecordFile::RecordFile(std::string path, std::size_t record_length)
    : path_(std::move(path)), record_length_(record_length) {}

Status RecordFile::EnsureExists() const {
  return FileReader::Open(path_).status();
}

Result<std::size_t> RecordFile::Count() const {
  auto file = FileReader::Open(path_);
  if (!file.ok()) return file.status();
  return static_cast<std::size_t>(file.value().size() / record_length_);
}

Result<std::string> RecordFile::ReadRaw() const {
  auto file = FileReader::Open(path_);
  if (!file.ok()) return file.status();
  return file.value().ReadRecords(1);
}

Result<std::string> RecordFile::ReadAll() const {
  auto file = FileReader::Open(path_);
  if (!file.ok()) return file.status();
  return file.value().ReadRecords(record_length_);
}

Result<std::string_view> RecordFile::ReadAll(ReadBuffer& buffer) const {
  auto file = FileReader::Open(path_);
  if (!file.ok()) return file.status();
  return file.value().ReadRecords(record_length_, buffer);
}

InPlaceWrite RecordFile::Write(std::size_t n, std::string_view record,
                               const RewriteFaultHook* fault) const {
  auto count = Count();
  if (!count.ok()) return {count.status(), false};
  if (n < 1 || n > count.value()) return {OutOfRange(n, path_), false};
  std::string fitted(record.substr(0, record_length_));
  fitted.resize(record_length_, ' ');
  Fd fd(::open(path_.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0) return {Status::FromErrno(errno, path_), false};
  const auto offset = static_cast<off_t>((n - 1) * record_length_);
  if (Faulted(fault, RewriteStep::kWrite)) return {Status::FromErrno(EIO, path_), false};
  if (Status s = WriteExactly(fd.get(), fitted.data(), fitted.size(), offset, path_); !s.ok()) {
    return {s, false};
  }
  // The bytes are in the file now; only their way to the disk can fail.
  return {FlushAndClose(fd, path_, fault), true};
}

Status RecordFile::Append(std::string_view record, const RewriteFaultHook* fault) const {
  if (Status s = EnsureExists(); !s.ok()) return s;
  Fd fd(::open(path_.c_str(), O_RDWR | O_CLOEXEC));
  if (fd.get() < 0) return Status::FromErrno(errno, path_);
  auto size = FileSize(fd.get(), path_);
  if (!size.ok()) return size.status();
  const std::size_t whole = size.value() / record_length_ * record_length_;
  std::string tail(size.value() - whole, '\0');
  auto reader = FileReader::Open(path_, FileReader::Missing::kFail);
  if (!reader.ok()) return reader.status();
  if (Status s = reader.value().ReadAt(whole, tail); !s.ok()) return s;
  std::string out(record.substr(0, record_length_));
  out.resize(record_length_, ' ');
  out += tail;
  Status failed =
      Faulted(fault, RewriteStep::kWrite)
          ? Status::FromErrno(ENOSPC, path_)
          : WriteExactly(fd.get(), out.data(), out.size(), static_cast<off_t>(whole), path_);
  if (failed.ok() && Faulted(fault, RewriteStep::kFlush)) failed = Status::FromErrno(EIO, path_);
  if (failed.ok() && ::fsync(fd.get()) != 0) failed = Status::FromErrno(errno, path_);
  if (failed.ok() && Faulted(fault, RewriteStep::kClose)) failed = Status::FromErrno(EIO, path_);
  if (failed.ok()) {
    if (fd.Close() != 0) return Status::FromErrno(errno, path_);
    return Status::Ok();
  }
  // Put the file back as it was, the partial record that the new one
  // overwrote included, so no half record is counted. The failure to tell is
  // the one that stopped the append; an undo that fails too is added to it,
  // since the file may then hold a half record.
  Status undo =
      Faulted(fault, RewriteStep::kUndo)
          ? Status::FromErrno(EIO, path_)
          : WriteExactly(fd.get(), tail.data(), tail.size(), static_cast<off_t>(whole), path_);
  if (undo.ok() && ::ftruncate(fd.get(), static_cast<off_t>(size.value())) != 0) {
    undo = Status::FromErrno(errno, path_);
  }
  if (!undo.ok()) {
    return Status::Error(
        failed.number(),
        failed.description() + "; the file could not be cut back either: " + undo.description());
  }
  return failed;
}

Status RecordFile::StageRewrite(StagedRewrite& stage, const ContentWriter& write_records,
                                const RewriteFaultHook* fault) const {
  auto file = FileReader::Open(path_);
  if (!file.ok()) return file.status();
  const FileReader& reader = file.value();
  const std::uint64_t whole = reader.size() / record_length_ * record_length_;
  return stage.Stage(
      path_,
      [&](RewriteSink& sink) {
        if (Status s = write_records(sink); !s.ok()) return s;
        return sink.Copy(reader, whole, reader.size() - whole);
      },
      fault ? *fault : RewriteFaultHook());
}

Status RecordFile::Rewrite(const ContentWriter& write_records,
                           const RewriteFaultHook* fault) const {
  StagedRewrite stage;
  if (Status s = StageRewrite(stage, write_records, fault); !s.ok()) return s;
  return stage.Commit();
}

Status RecordFile::Rewrite(std::span<const std::string_view> pieces,
                           const RewriteFaultHook* fault) const {
  return Rewrite([pieces](RewriteSink& sink) { return sink.Write(pieces); }, fault);
}

Status RecordFile::Rewrite(std::string_view records, const RewriteFaultHook* fault) const {
  return Rewrite(std::span<const std::string_view>(&records, 1), fault);
}

}  // namespace tabrel
