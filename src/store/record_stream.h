#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "base/result.h"

namespace tabrel {

// Reads a file of fixed-length records from another program or another
// machine a block of records at a time: read, not mapped, so a file cut
// short meanwhile cannot bring the program down, and never held whole, so a
// large file costs no more memory than a block. Opening creates nothing.
class RecordStream {
 public:
  static Result<RecordStream> Open(const std::string& path, std::size_t record_length);

  RecordStream() = default;
  RecordStream(RecordStream&& other) noexcept;
  RecordStream& operator=(RecordStream&& other) noexcept;
  RecordStream(const RecordStream&) = delete;
  RecordStream& operator=(const RecordStream&) = delete;
  ~RecordStream();

  // The file's length and last change when it was opened.
  std::size_t size() const { return size_; }
  std::time_t modified() const { return modified_; }
  // True when the file holds at least one record and no partial one.
  bool whole() const { return size_ > 0 && size_ % record_length_ == 0; }
  std::size_t count() const { return size_ / record_length_; }

  // The next whole records, one block at a time; empty at the end. A file
  // that no longer holds what it held when opened (cut short, or grown)
  // is a failure, so that the caller never acts on half of it.
  Result<std::string_view> Next();

 private:
  std::string path_;
  int fd_ = -1;
  std::size_t record_length_ = 1;
  std::size_t size_ = 0;
  std::time_t modified_ = 0;
  std::size_t done_ = 0;
  std::string block_;
};

}  // namespace tabrel
