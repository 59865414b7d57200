#include "cli/write_lock.h"

#include "base/status.h"

namespace tabrel::cli {

Result<WriteLease> AcquireForWriting(const std::string& data_folder, std::ostream& err) {
  DataSetLock lock = DataSetLock::Acquire(data_folder);
  if (!lock.recovered().empty()) err << lock.recovered() << "\n";
  if (lock.held()) return WriteLease(std::move(lock));
  if (lock.needs_repair()) {
    return Status::Error(lock.status().number(),
                         lock.status().description() + " Nothing was changed.");
  }
  if (lock.held_elsewhere()) {
    return Status::Error(lock.status().number(),
                         "The data set in " + data_folder +
                             " is open in another copy of Tabrel, so it cannot be changed now. "
                             "Nothing was changed. Close the other copy, then try again.");
  }
  return Status::Error(lock.status().number(),
                       lock.status().ErrorLine() + "\nThe data set in " + data_folder +
                           " cannot be locked for writing. Nothing was changed.");
}

}  // namespace tabrel::cli
