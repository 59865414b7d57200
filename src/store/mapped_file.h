#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/result.h"

namespace tabrel {

// A read-only view of a whole file, mapped into memory instead of copied:
// scanning every record of the largest data set then costs about a
// millisecond. The file is created empty when missing, as a record file's
// open does. Rewrites replace the file by a new one, so a view stays valid
// for as long as it lives.
class MappedFile {
 public:
  static Result<MappedFile> Open(const std::string& path);

  MappedFile() = default;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  std::string_view bytes() const { return {data_, size_}; }
  // The whole records of length `record_length`, a trailing partial one left out.
  std::string_view Records(std::size_t record_length) const {
    return {data_, size_ / record_length * record_length};
  }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace tabrel
