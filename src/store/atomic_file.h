#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace tabrel {

class FileReader;

// Steps of a whole-file rewrite, in order. kKeep is the extra name that
// keeps a file's old content while several rewrites commit together, kRecord
// the writing of their commit file (store/commit_record.h) before the first
// rename and kForget its removal after the last. Writes in place
// (store/record_file.h) have the steps kWrite and kFlush, and an append that
// fails has kUndo, which cuts the file back.
enum class RewriteStep { kCreate, kWrite, kFlush, kClose, kKeep, kRename, kUndo, kRecord, kForget };

// Called before each step; returning true makes that step fail as an I/O
// error would. Tests use it to prove that a failure leaves the old file whole.
using RewriteFaultHook = std::function<bool(RewriteStep)>;

// Where a staged rewrite's new content goes.
class RewriteSink {
 public:
  virtual ~RewriteSink() = default;
  virtual Status Write(std::span<const std::string_view> pieces) = 0;
  Status Write(std::string_view bytes) {
    return Write(std::span<const std::string_view>(&bytes, 1));
  }
  // Copies `length` bytes of `source` from `offset` on, without passing them
  // through the program's memory where the system allows.
  virtual Status Copy(const FileReader& source, std::uint64_t offset, std::uint64_t length) = 0;
  // Passes over the `length` bytes that StagedRewrite::WriteAhead wrote
  // where the content has got to.
  virtual Status Skip(std::uint64_t length) = 0;
};
using ContentWriter = std::function<Status(RewriteSink&)>;

// A whole-file change done in two halves, so that several files can be
// written first and then all renamed: a full disk or a write error then
// leaves every old file in place.
//
// Stage writes the new content to a temporary file of a unique name
// ("tabrel.dat.new-Xy12Ab") in the folder of the file that `path` names,
// following symbolic links, so that a link to a synced folder keeps pointing
// at the data. The temporary file gets the old file's permissions (and, when
// the program runs as root, its owner), is flushed to disk and stays locked
// (flock) until it is renamed or removed, so a second copy of the program
// never takes it for a leftover; temporary files of the same target that
// nobody holds (left by a copy that was killed) are removed first. Commit
// renames it over the file and flushes the folder. Destroying an uncommitted
// rewrite removes its temporary file.
class StagedRewrite {
 public:
  StagedRewrite() = default;
  StagedRewrite(const StagedRewrite&) = delete;
  StagedRewrite& operator=(const StagedRewrite&) = delete;
  ~StagedRewrite();

  Status Stage(const std::string& path, const ContentWriter& write,
               const RewriteFaultHook& fault = nullptr);
  Status Stage(const std::string& path, std::span<const std::string_view> pieces,
               const RewriteFaultHook& fault = nullptr);
  Status Stage(const std::string& path, std::string_view content,
               const RewriteFaultHook& fault = nullptr);
  Status Commit();

  // Creates the temporary file ahead of Stage, for parts of the new content
  // that are ready before the rest (WriteAhead); Stage then writes the rest
  // into the same file, `path` and `fault` as given here.
  Status Begin(const std::string& path, const RewriteFaultHook& fault = nullptr);
  // After Begin: writes `bytes` at `offset` and starts sending them to disk,
  // so that Stage's flush has little left to wait for. Each part follows
  // the one before; Stage's writer passes over them all with
  // RewriteSink::Skip. A failure abandons the rewrite.
  Status WriteAhead(std::uint64_t offset, std::string_view bytes);
  // Begun and neither committed nor abandoned.
  bool begun() const { return fd_ >= 0; }

  // Before Stage: the rewrite is to be committed alone (Commit), so no
  // checksum of its content is taken; a group commit would read it back.
  void CommitAlone() { checksummed_ = false; }

  // The file Commit replaces: `path` with symbolic links followed.
  const std::string& target() const { return target_; }
  // A descriptor holding the temporary file's lock, for the caller to close:
  // the lock then outlasts Commit. -1 and errno when none could be had.
  int DuplicateLock() const;

 private:
  friend struct GroupCommit;
  // Commit without flushing the folder, which a group does once for all.
  Status Rename();
  void Abandon();
  Status KeepOldContent();
  void DropKeptContent();

  std::string folder_;  // of `path` as given: where a group's commit file goes
  std::string target_;
  std::string temp_;
  int lock_fd_ = -1;
  int fd_ = -1;  // the temporary file, from Begin until Stage flushed and closed it
  // What WriteAhead wrote: where it began, how much and its CRC-32C.
  std::uint64_t ahead_offset_ = 0;
  std::uint64_t ahead_length_ = 0;
  std::uint32_t ahead_checksum_ = 0;
  RewriteFaultHook fault_;
  bool staged_ = false;
  bool existed_ = false;  // the target existed when the rewrite was staged
  // CRC-32C of the new content, when it all passed through memory and
  // was wanted.
  std::optional<std::uint32_t> checksum_;
  bool checksummed_ = true;
  std::string kept_;  // a second name of the old content, during a group commit
};

// Commits any number of staged rewrites as one change. Every old file gets
// a second name first (a hard link, or a copy where the file system has
// none); then a commit file naming every file of the change, its new
// content's temporary file, size and checksum, is written and flushed in
// the folder of the first rewrite's path as given (the data folder; see
// store/commit_record.h); then the files are renamed in order, and the
// commit file and the old copies are removed. A crash anywhere in between
// is finished or undone by RecoverInterruptedCommit at the next open for
// writing (DataSetLock::Acquire). When a rename fails, the files already
// replaced get their old content back, so the change is all done or not
// done. Only when that undo fails too are files left with their new
// content: `left_new` then names each with the file that keeps its old
// content, for the user to be told exactly what happened, and the commit
// file stays for the next open to undo the change.
struct GroupCommit {
  struct LeftNew {
    std::string path;      // holds its new content
    std::string old_copy;  // holds the content it had; empty when it did not exist
  };

  static GroupCommit Run(std::span<StagedRewrite* const> rewrites);

  bool ok() const { return status.ok(); }
  Status status = Status::Ok();  // the first failure
  std::vector<LeftNew> left_new;
};

// Replaces the file at `path` by `content` through a StagedRewrite: the old
// file or the new one, never a mix.
Status AtomicRewrite(const std::string& path, std::string_view content,
                     const RewriteFaultHook& fault = nullptr);
Status AtomicRewrite(const std::string& path, std::span<const std::string_view> pieces,
                     const RewriteFaultHook& fault = nullptr);

// Removes from `folder` the temporary files of rewrites that no running copy
// of the program holds (left by one that died), the old copies of group
// commits (".old-": a clean-up that failed is retried here), and the fixed
// temporary names earlier versions used. Call it only while holding the
// folder's data set lock, after RecoverInterruptedCommit succeeded. Yields
// the number removed.
int RemoveStaleTemporaryFiles(const std::string& folder);
// The files RemoveStaleTemporaryFiles would remove, without removing them.
std::vector<std::string> LeftoverFiles(const std::string& folder);

// Folder part of a path, with its trailing "/" ("" when there is none).
std::string FolderOf(const std::string& path);

}  // namespace tabrel
