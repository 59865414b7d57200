#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"

namespace tabrel {

// Memory for whole-file reads, uninitialised and reused from one read to the
// next: a fresh buffer the size of the largest data set costs more in page
// faults than the read itself. A buffer of megabytes is asked for in huge
// pages where the system offers them on request; the memory is taken only
// as it is written, and stays put when the buffer moves.
class ReadBuffer {
 public:
  ReadBuffer() = default;
  ReadBuffer(ReadBuffer&& other) noexcept;
  ReadBuffer& operator=(ReadBuffer&& other) noexcept;
  ReadBuffer(const ReadBuffer&) = delete;
  ReadBuffer& operator=(const ReadBuffer&) = delete;
  ~ReadBuffer();

  // At least `size` bytes; earlier contents are not kept.
  char* Reserve(std::size_t size);

 private:
  void Release();

  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  void* mapping_ = nullptr;  // a buffer of huge pages
  std::size_t mapped_ = 0;
  std::unique_ptr<char[]> heap_;  // a small buffer, or when no mapping could be had
};

// Makes room for `size` bytes in `text`, asking for huge pages where the
// system gives them on request, as ReadBuffer does: a text of megabytes
// (an export) then costs fewer page faults as it is written.
void ReserveLarge(std::string& text, std::size_t size);

// A file opened for reading and read with pread into the caller's memory,
// never mapped: a read that fails (a failing disk, a sparse file on a full
// tmpfs) is then a Status to report, not a SIGBUS that kills the program.
// The size is taken once, at Open; the descriptor closes with the object.
class FileReader {
 public:
  enum class Missing { kCreate, kFail };
  // Opens the regular file `path`, refusing a folder, a FIFO, a device or a
  // socket before opening it and again once open (without waiting, should
  // it have become a FIFO in between). With Missing::kCreate a missing file
  // is created empty first, as opening a record file does.
  static Result<FileReader> Open(const std::string& path, Missing missing = Missing::kCreate);

  FileReader() = default;  // opens nothing
  FileReader(FileReader&& other) noexcept;
  FileReader& operator=(FileReader&& other) noexcept;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  const std::string& path() const { return path_; }
  std::uint64_t size() const { return size_; }
  int fd() const { return fd_; }

  // Fills `out` from `offset` on; a file that ends first is an error.
  Status ReadAt(std::uint64_t offset, std::span<char> out) const;
  // The whole records of length `record_length`, a trailing partial one
  // left out, read into `buffer`; valid until the buffer's next use.
  Result<std::string_view> ReadRecords(std::size_t record_length, ReadBuffer& buffer) const;
  // The same into memory of its own.
  Result<std::string> ReadRecords(std::size_t record_length) const;

  // Hands `visit` the whole records in file order, a run of up to
  // kScanRecords at a time with the index (from 0) of its first record, so
  // that a pass over the file needs no memory the size of the file. `visit`
  // returns false to stop early.
  using RunVisitor = std::function<bool(std::string_view records, std::size_t first_index)>;
  Status ScanRecords(std::size_t record_length, const RunVisitor& visit) const;
  static constexpr std::size_t kScanRecords = 256;

 private:
  FileReader(std::string path, int fd, std::uint64_t size)
      : path_(std::move(path)), fd_(fd), size_(size) {}

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace tabrel
