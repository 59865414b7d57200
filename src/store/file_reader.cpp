#include "store/file_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace tabrel {

namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

}  // namespace

ReadBuffer::ReadBuffer(ReadBuffer&& other) noexcept {
  *this = std::move(other);
}

ReadBuffer& ReadBuffer::operator=(ReadBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapped_ = std::exchange(other.mapped_, 0);
    heap_ = std::move(other.heap_);
  }
  return *this;
}

ReadBuffer::~ReadBuffer() {
  Release();
}

void ReadBuffer::Release() {
  if (mapping_ != nullptr) ::munmap(mapping_, mapped_);
  mapping_ = nullptr;
  mapped_ = 0;
  heap_.reset();
  data_ = nullptr;
  capacity_ = 0;
}

char* ReadBuffer::Reserve(std::size_t size) {
  if (data_ != nullptr && size <= capacity_) return data_;
  Release();  // the old memory goes before the new is taken
  capacity_ = std::max<std::size_t>(size, 1);
  if (capacity_ >= kHugePage) {
    // One huge page more than asked, so that the buffer can start on a huge
    // page boundary, which the system needs before it can use huge pages.
    mapped_ = capacity_ + kHugePage;
    void* mapping =
        ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping != MAP_FAILED) {
      mapping_ = mapping;
      const auto start = reinterpret_cast<std::uintptr_t>(mapping);
      data_ = reinterpret_cast<char*>((start + kHugePage - 1) & ~(kHugePage - 1));
      // Only advice: without huge pages the buffer works the same, more slowly.
      ::madvise(data_, capacity_, MADV_HUGEPAGE);
      return data_;
    }
    // Address space is scarce here (a limit on it, say): take plain memory.
    mapped_ = 0;
  }
  heap_.reset(new char[capacity_]);
  data_ = heap_.get();
  return data_;
}

void ReserveLarge(std::string& text, std::size_t size) {
  text.reserve(size);
  const auto start = reinterpret_cast<std::uintptr_t>(text.data());
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = start + text.capacity();
  // Only advice, and only for whole huge pages of the text's memory.
  if (end >= first + kHugePage) {
    ::madvise(reinterpret_cast<void*>(first), (end - first) & ~(kHugePage - 1), MADV_HUGEPAGE);
  }
}

namespace {

// Why `st` is no file to read whole: a FIFO would hang the read, a device
// never end it.
std::string NotAFile(const struct stat& st) {
  if (S_ISFIFO(st.st_mode)) return "a pipe, not a file";
  if (S_ISSOCK(st.st_mode)) return "a socket, not a file";
  return "a device, not a file";
}

Status NotAFileStatus(const std::string& path, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return Status::FromErrno(EISDIR, path);
  return Status::Error(error_number::kPathFileAccess,
                       "Path/File access error (" + path + ": " + NotAFile(st) + ")");
}

}  // namespace

Result<FileReader> FileReader::Open(const std::string& path, Missing missing) {
  // Looked at before it is opened: opening a FIFO waits for a writer, and
  // opening a device may do something to it.
  struct stat before {};
  if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
    return NotAFileStatus(path, before);
  }
  constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
  int fd = ::open(path.c_str(), kFlags);
  if (fd < 0 && errno == ENOENT && missing == Missing::kCreate) {
    // 0666 less the user's umask, as any program creates a file.
    const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (created < 0 && errno != EEXIST) return Status::FromErrno(errno, path);
    if (created >= 0) ::close(created);
    fd = ::open(path.c_str(), kFlags);
  }
  if (fd < 0) return Status::FromErrno(errno, path);
  // And again once open: the name may have been given to something else
  // in between.
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return Status::FromErrno(err, path);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return NotAFileStatus(path, st);
  }
  return FileReader(path, fd, static_cast<std::uint64_t>(st.st_size));
}

FileReader::FileReader(FileReader&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      size_(std::exchange(other.size_, 0)) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

Status FileReader::ReadAt(std::uint64_t offset, std::span<char> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n =
        ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(errno, path_);
    }
    // Shorter than it was at Open: cut by someone else, or a failing disk.
    if (n == 0) return Status::FromErrno(EIO, path_ + " ended early");
    done += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

Result<std::string_view> FileReader::ReadRecords(std::size_t record_length,
                                                 ReadBuffer& buffer) const {
  const std::size_t bytes = size_ / record_length * record_length;
  char* data = buffer.Reserve(bytes);
  if (Status s = ReadAt(0, {data, bytes}); !s.ok()) return s;
  return std::string_view(data, bytes);
}

Result<std::string> FileReader::ReadRecords(std::size_t record_length) const {
  std::string bytes(size_ / record_length * record_length, '\0');
  if (Status s = ReadAt(0, bytes); !s.ok()) return s;
  return bytes;
}

Status FileReader::ScanRecords(std::size_t record_length, const RunVisitor& visit) const {
  const std::size_t count = size_ / record_length;
  const std::size_t run = std::min(count, kScanRecords);
  std::unique_ptr<char[]> buffer(new char[std::max<std::size_t>(run * record_length, 1)]);
  for (std::size_t first = 0; first < count; first += run) {
    const std::size_t records = std::min(run, count - first);
    const std::span<char> out(buffer.get(), records * record_length);
    if (Status s = ReadAt(first * record_length, out); !s.ok()) return s;
    if (!visit(std::string_view(out.data(), out.size()), first)) break;
  }
  return Status::Ok();
}

}  // namespace tabrel
