#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "base/result.h"
#include "store/data_set_lock.h"

namespace tabrel::cli {

// Held by a command while it changes a data set: the data set's lock, so
// that a window opened meanwhile shows the data set read-only. The lock goes
// when the lease is destroyed, or when the process ends, however it ends.
class WriteLease {
 public:
  WriteLease() = default;  // holds nothing
  explicit WriteLease(DataSetLock lock) : lock_(std::move(lock)) {}
  WriteLease(WriteLease&&) = default;
  WriteLease& operator=(WriteLease&&) = default;

  const std::string& folder() const { return lock_.folder(); }

 private:
  DataSetLock lock_;
};

// The one place where a writing command takes the data set in `data_folder`
// (ends with "/") for itself. It fails, with the message to print, while
// another copy of the program (or another command) holds the data set, and
// when no lock can be taken there at all: a command that could not keep
// others out writes nothing. A change an earlier run left unfinished is
// completed or undone first, and `err` is told which. Reading commands
// never call it.
Result<WriteLease> AcquireForWriting(const std::string& data_folder, std::ostream& err);

}  // namespace tabrel::cli
