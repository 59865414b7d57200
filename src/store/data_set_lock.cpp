#include "store/data_set_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "store/atomic_file.h"
#include "store/commit_record.h"

namespace tabrel {

DataSetLock DataSetLock::Acquire(const std::string& folder) {
  DataSetLock lock;
  lock.folder_ = folder;
  const std::string path = folder + kLockFileName;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) {
    lock.status_ = Status::FromErrno(errno, path);
    return lock;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    lock.held_elsewhere_ = err == EWOULDBLOCK;
    lock.status_ =
        lock.held_elsewhere_
            ? Status::Error(error_number::kPermissionDenied,
                            "The data set in " + folder + " is open in another copy of Tabrel.")
            : Status::FromErrno(err, path);
    return lock;
  }
  // Nobody else has the data set open, so a commit file, and a temporary
  // file nobody holds, is what a crash left behind.
  const RecoveryOutcome recovery = RecoverInterruptedCommit(folder);
  if (!recovery.status.ok()) {
    ::close(fd);
    lock.status_ = recovery.status;
    lock.needs_repair_ = true;
    return lock;
  }
  lock.fd_ = fd;
  lock.recovered_ = recovery.Text();
  lock.removed_ = RemoveStaleTemporaryFiles(folder);
  return lock;
}

DataSetLock::DataSetLock(DataSetLock&& other) noexcept
    : folder_(std::move(other.folder_)),
      fd_(std::exchange(other.fd_, -1)),
      held_elsewhere_(other.held_elsewhere_),
      needs_repair_(other.needs_repair_),
      removed_(other.removed_),
      status_(std::move(other.status_)),
      recovered_(std::move(other.recovered_)) {}

DataSetLock& DataSetLock::operator=(DataSetLock&& other) noexcept {
  if (this != &other) {
    Release();
    folder_ = std::move(other.folder_);
    fd_ = std::exchange(other.fd_, -1);
    held_elsewhere_ = other.held_elsewhere_;
    needs_repair_ = other.needs_repair_;
    removed_ = other.removed_;
    status_ = std::move(other.status_);
    recovered_ = std::move(other.recovered_);
  }
  return *this;
}

DataSetLock::~DataSetLock() {
  Release();
}

void DataSetLock::Release() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor drops the lock
  fd_ = -1;
}

}  // namespace tabrel
