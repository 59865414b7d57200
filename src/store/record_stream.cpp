#include "store/record_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tabrel {
namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

}  // namespace

Result<RecordStream> RecordStream::Open(const std::string& path, std::size_t record_length) {
  RecordStream stream;
  stream.path_ = path;
  stream.record_length_ = record_length;
  stream.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (stream.fd_ < 0) return Status::FromErrno(errno, path);
  struct stat st {};
  if (::fstat(stream.fd_, &st) != 0) return Status::FromErrno(errno, path);
  if (!S_ISREG(st.st_mode)) return Status::FromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, path);
  stream.size_ = static_cast<std::size_t>(st.st_size);
  stream.modified_ = st.st_mtime;
  return stream;
}

RecordStream::RecordStream(RecordStream&& other) noexcept {
  *this = std::move(other);
}

RecordStream& RecordStream::operator=(RecordStream&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    record_length_ = other.record_length_;
    size_ = other.size_;
    modified_ = other.modified_;
    done_ = other.done_;
    block_ = std::move(other.block_);
  }
  return *this;
}

RecordStream::~RecordStream() {
  if (fd_ >= 0) ::close(fd_);
}

Result<std::string_view> RecordStream::Next() {
  const std::size_t whole = count() * record_length_;
  if (done_ >= whole) {
    // Past the records counted at the start the file must end.
    char extra = 0;
    ssize_t n = 0;
    do {
      n = ::pread(fd_, &extra, 1, static_cast<off_t>(done_));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return Status::FromErrno(errno, path_);
    if (n > 0 && whole == size_) {
      return Status::FromErrno(EIO, path_ + " grew while it was read");
    }
    return std::string_view();
  }
  const std::size_t want = std::min(
      whole - done_, std::max(kBlockBytes / record_length_, std::size_t{1}) * record_length_);
  block_.resize(want);
  std::size_t got = 0;
  while (got < want) {
    const ssize_t n =
        ::pread(fd_, block_.data() + got, want - got, static_cast<off_t>(done_ + got));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(errno, path_);
    }
    if (n == 0) return Status::FromErrno(EIO, path_ + " was cut short while it was read");
    got += static_cast<std::size_t>(n);
  }
  done_ += want;
  return std::string_view(block_);
}

}  // namespace tabrel
