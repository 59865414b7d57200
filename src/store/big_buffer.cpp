#include "store/big_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace tabrel {
namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

}  // namespace

BigBuffer::BigBuffer(std::size_t capacity) : capacity_(capacity) {
  if (capacity == 0) return;
  // One huge page more than asked, so that the buffer can start on a huge
  // page boundary, which the system needs before it can use huge pages.
  mapped_ = capacity + kHugePage;
  mapping_ = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) {
    // Address space is scarce here (a limit on it, say): take plain memory.
    mapping_ = nullptr;
    mapped_ = 0;
    heap_ = std::make_unique<char[]>(capacity);
    data_ = heap_.get();
    return;
  }
  const auto start = reinterpret_cast<std::uintptr_t>(mapping_);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  data_ = reinterpret_cast<char*>(aligned);
  // Only advice: without huge pages the buffer works the same, more slowly.
  ::madvise(data_, capacity, MADV_HUGEPAGE);
}

BigBuffer::BigBuffer(BigBuffer&& other) noexcept {
  *this = std::move(other);
}

BigBuffer& BigBuffer::operator=(BigBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapped_ = std::exchange(other.mapped_, 0);
    heap_ = std::move(other.heap_);
  }
  return *this;
}

BigBuffer::~BigBuffer() {
  Release();
}

void BigBuffer::Release() {
  if (mapping_ != nullptr) ::munmap(mapping_, mapped_);
  mapping_ = nullptr;
  heap_.reset();
  data_ = nullptr;
}

bool BigBuffer::Append(std::string_view bytes, std::size_t padding) {
  if (bytes.size() + padding > capacity_ - size_) return false;
  std::copy(bytes.begin(), bytes.end(), data_ + size_);
  std::fill_n(data_ + size_ + bytes.size(), padding, ' ');
  size_ += bytes.size() + padding;
  return true;
}

}  // namespace tabrel
