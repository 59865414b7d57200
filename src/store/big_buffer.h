#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tabrel {

// A byte buffer of fixed capacity for tens of megabytes (a data set's worth
// of records), filled from the front. Only address space is reserved up
// front; memory is taken as the buffer fills, in huge pages where the system
// offers them on request: on some machines taking 34 MB page by page costs
// several times more than writing it to disk.
class BigBuffer {
 public:
  BigBuffer() = default;
  explicit BigBuffer(std::size_t capacity);
  BigBuffer(BigBuffer&& other) noexcept;
  BigBuffer& operator=(BigBuffer&& other) noexcept;
  BigBuffer(const BigBuffer&) = delete;
  BigBuffer& operator=(const BigBuffer&) = delete;
  ~BigBuffer();

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  std::string_view view() const { return {data_, size_}; }
  char* data() { return data_; }

  // Appends `bytes` and then `padding` blanks; false (nothing appended) when
  // they would pass the capacity.
  bool Append(std::string_view bytes, std::size_t padding = 0);

 private:
  void Release();

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  void* mapping_ = nullptr;
  std::size_t mapped_ = 0;
  std::unique_ptr<char[]> heap_;  // when no mapping could be had
};

}  // namespace tabrel
