#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tabrel {

// Whether a file of `size` bytes is worth reading in two parts: one of a
// megabyte or more, on a machine with a second processor to read it.
inline bool ReadInTwo(std::size_t size) {
  return size >= (std::size_t{1} << 20) && std::thread::hardware_concurrency() > 1;
}

// The entries of the back part of a large file, read on a second thread
// and handed over a batch at a time, in file order, to the thread that
// decides them, which reads the front part meanwhile. Without a thread to
// be had, Take() reads each batch itself.
template <typename Entry>
class BackReading {
 public:
  // The next entry into the one given; false at the end of the part. Runs
  // on the second thread, which is joined before Take() says the end.
  using Fill = std::function<bool(Entry&)>;

  explicit BackReading(Fill fill) : fill_(std::move(fill)) {
    try {
      thread_ = std::jthread([this](const std::stop_token& stop) { Run(stop); });
    } catch (const std::system_error&) {
      inline_ = true;
    }
  }
  // Stops the reading (before its next entry) and waits for the thread.
  ~BackReading() = default;
  BackReading(const BackReading&) = delete;
  BackReading& operator=(const BackReading&) = delete;

  // The next batch into `batch`; false once the last was taken. Rethrows
  // what ended the reading. The batch given is read into again, so that its
  // entries' memory serves the whole file.
  bool Take(std::vector<Entry>& batch) {
    if (inline_) {
      if (done_) return false;
      done_ = ReadBatch(batch, {});
      return !batch.empty();
    }
    std::unique_lock lock(mutex_);
    if (!batch.empty()) spare_.push_back(std::move(batch));
    ready_.wait(lock, [this] { return !batches_.empty() || done_; });
    if (batches_.empty()) {
      lock.unlock();
      // What the thread wrote is the caller's from here on.
      if (thread_.joinable()) thread_.join();
      if (failed_) std::rethrow_exception(failed_);
      return false;
    }
    batch = std::move(batches_.front());
    batches_.pop_front();
    return true;
  }

 private:
  static constexpr std::size_t kBatch = 256;

  // One batch into `batch`; true when the part ended in it.
  bool ReadBatch(std::vector<Entry>& batch, const std::stop_token& stop) {
    batch.resize(kBatch);
    std::size_t filled = 0;
    while (filled < kBatch && !stop.stop_requested() && fill_(batch[filled])) ++filled;
    batch.resize(filled);
    return filled < kBatch;
  }

  void Run(const std::stop_token& stop) {
    try {
      for (bool ended = false; !ended;) {
        std::vector<Entry> batch;
        {
          const std::lock_guard lock(mutex_);
          if (!spare_.empty()) {
            batch = std::move(spare_.back());
            spare_.pop_back();
          }
        }
        ended = ReadBatch(batch, stop);
        const std::lock_guard lock(mutex_);
        if (!batch.empty()) batches_.push_back(std::move(batch));
        done_ = ended;
        ready_.notify_one();
      }
    } catch (...) {
      const std::lock_guard lock(mutex_);
      failed_ = std::current_exception();
      done_ = true;
      ready_.notify_one();
    }
  }

  Fill fill_;
  bool inline_ = false;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::vector<Entry>> batches_;
  std::vector<std::vector<Entry>> spare_;  // taken, to be read into again
  std::exception_ptr failed_;
  bool done_ = false;  // written under the lock, but inline
  // Last: it stops and joins before the members it uses go.
  std::jthread thread_;
};

}  // namespace tabrel
