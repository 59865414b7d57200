#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"

namespace tabrel {

// The commit file of a group commit ("tabrel.commit" in the data folder,
// see docs/file_formats.md). It is written and flushed before the first of
// the change's renames and removed after the last, so that whoever opens
// the data set next for writing can finish or undo a change a crash cut
// short: several renames are never atomic together, the commit file makes
// them so.
inline constexpr const char* kCommitFileName = "tabrel.commit";

// One file of a group commit, as the commit file names it.
struct CommitEntry {
  std::string target;  // the file replaced, symbolic links followed
  std::string temp;    // the new content's temporary file, in the target's folder
  std::string kept;    // a second name of the old content; empty when there was none
  std::uint64_t size = 0;
  std::uint32_t checksum = 0;  // CRC-32C of the new content
};

// CRC-32C of `bytes`, continued from `crc` (0 to start).
std::uint32_t Crc32c(std::uint32_t crc, std::string_view bytes);
// The CRC-32C of A followed by B, from that of A, that of B and B's length.
std::uint32_t Crc32cCombine(std::uint32_t first, std::uint32_t second, std::uint64_t second_length);

// CRC-32C of the `size` bytes of the file `fd` is open on, read from the
// start.
Result<std::uint32_t> ChecksumOfFile(int fd, const std::string& path, std::uint64_t size);

// A commit file, written and held for the length of a group commit. While
// it is held its file is locked (flock), so a reader waiting for it knows
// the change is under way, not abandoned.
class CommitRecord {
 public:
  // Writes the commit file of `entries` in `folder` (ends with "/" or is
  // empty) through a temporary file, flushed, renamed into place, the
  // folder flushed.
  static Result<CommitRecord> Write(const std::string& folder,
                                    std::span<const CommitEntry> entries);

  CommitRecord() = default;
  CommitRecord(CommitRecord&& other) noexcept;
  CommitRecord& operator=(CommitRecord&& other) noexcept;
  CommitRecord(const CommitRecord&) = delete;
  CommitRecord& operator=(const CommitRecord&) = delete;
  // Leaves the file in place: a change not finished is finished or undone
  // at the next open.
  ~CommitRecord();

  // Removes the file: the change is complete, or wholly undone.
  void Remove();

 private:
  std::string path_;
  int fd_ = -1;
};

// What the next writer's open did about an unfinished group commit.
enum class Recovery { kNone, kCompleted, kUndone };

struct RecoveryOutcome {
  Recovery done = Recovery::kNone;
  Status status = Status::Ok();  // a change neither finished nor undone
  // The sentence to tell the user once; empty when nothing was done.
  std::string Text() const;
};

// Finishes the change the commit file in `folder` describes when every new
// file is there and whole (as a temporary file or already renamed), and
// undoes it otherwise; then removes the commit file and the old copies.
// Call it only while holding the data set's lock, before anything else.
RecoveryOutcome RecoverInterruptedCommit(const std::string& folder);

// For a copy that reads the data set without its lock: waits while a
// running copy finishes a group commit, and fails when a commit file was
// left by a copy that died, naming the data set as in need of repair, so
// that a reader never shows half a change.
Status CheckNoUnfinishedCommit(const std::string& folder);

}  // namespace tabrel
