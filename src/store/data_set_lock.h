#pragma once

#include <string>

#include "base/status.h"

namespace tabrel {

inline constexpr const char* kLockFileName = "tabrel.lck";

// One writer per data set. A copy of the program that opens a data set takes
// an advisory lock (flock) on tabrel.lck in the data folder and holds it for
// as long as the data set stays open; the system releases it when the
// process ends, however it ends, so a crash never leaves a data set locked.
// A second copy (or any other holder, such as a command-line tool) that
// finds the lock taken opens the data set read-only: it may show, search and
// print, and every change is refused (AppState::read_only, CheckWritable).
//
// The lock file is never removed: removing it could let two copies lock two
// different files of the same name.
class DataSetLock {
 public:
  // Takes the lock of the data set in `folder` (ends with "/") without
  // waiting. On success held() is true, a change an earlier run left
  // unfinished has been completed or undone (RecoverInterruptedCommit;
  // recovered() says which, for the user to be told once) and stale
  // temporary files of earlier runs have been removed from the folder
  // (RemoveStaleTemporaryFiles). Otherwise status() says why:
  // error_number::kPermissionDenied with held_elsewhere() true when another
  // copy holds it, or the failure that kept the lock file from being opened
  // or locked (a read-only folder, a folder named tabrel.lck), or the
  // unfinished change that could be neither completed nor undone; the lock
  // is then not held.
  static DataSetLock Acquire(const std::string& folder);

  DataSetLock() = default;
  DataSetLock(DataSetLock&& other) noexcept;
  DataSetLock& operator=(DataSetLock&& other) noexcept;
  DataSetLock(const DataSetLock&) = delete;
  DataSetLock& operator=(const DataSetLock&) = delete;
  ~DataSetLock();

  bool held() const { return fd_ >= 0; }
  bool held_elsewhere() const { return held_elsewhere_; }
  const Status& status() const { return status_; }
  // "An interrupted change was completed." or "... undone."; empty when the
  // data set was sound.
  const std::string& recovered() const { return recovered_; }
  // The lock could be had, but a change an earlier run left unfinished
  // could be neither completed nor undone; status() says so in full.
  bool needs_repair() const { return needs_repair_; }
  // How many left-over temporary files the taking of the lock removed.
  int removed() const { return removed_; }
  const std::string& folder() const { return folder_; }
  // Lets another copy take the data set.
  void Release();

 private:
  std::string folder_;
  int fd_ = -1;
  bool held_elsewhere_ = false;
  bool needs_repair_ = false;
  int removed_ = 0;
  Status status_ = Status::Ok();
  std::string recovered_;
};

}  // namespace tabrel
