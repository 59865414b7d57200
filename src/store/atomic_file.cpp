#include "store/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "store/commit_record.h"
#include "store/file_reader.h"

namespace tabrel {
namespace {

constexpr std::string_view kTempMark = ".new-";
constexpr std::string_view kKeptMark = ".old-";
constexpr std::size_t kUniqueLength = 6;
// Fixed temporary names of earlier versions, left behind by a crash.
constexpr const char* kLegacyTempNames[] = {"tabrel.$$$", "keyword.$$$", "contact.tmp", "tr30.$$$"};

bool Faulted(const RewriteFaultHook& fault, RewriteStep step) {
  return fault && fault(step);
}

std::string UniqueSuffix() {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[kUniqueLength] = {};
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // No entropy at hand: the clock and the process still make clashes rare,
    // and O_EXCL catches the rest.
    const auto seed = static_cast<unsigned long>(::getpid()) ^ static_cast<unsigned long>(clock());
    for (std::size_t i = 0; i < kUniqueLength; ++i) {
      random[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
  }
  std::string out;
  for (unsigned char r : random) out.push_back(kChars[r % (sizeof kChars - 1)]);
  return out;
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether `name` is "<file><mark>" followed by a unique suffix.
bool HasUniqueSuffix(std::string_view name, std::string_view mark) {
  if (name.size() <= mark.size() + kUniqueLength) return false;
  const std::string_view suffix = name.substr(name.size() - kUniqueLength);
  const std::string_view before = name.substr(0, name.size() - kUniqueLength);
  return before.ends_with(mark) && std::all_of(suffix.begin(), suffix.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
         });
}

// The file a path names, symbolic links followed; the last link's target
// when that does not exist yet.
std::string ResolveLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (n < 0) break;  // not a link, or nothing there
    std::string link(buffer, static_cast<std::size_t>(n));
    path = link.starts_with('/') ? link : FolderOf(path) + link;
  }
  return path;
}

// Makes the rename itself durable; a failure here cannot undo anything, so
// it is not reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Writes the pieces in order, many per system call; 0 or an errno.
int WritePieces(int fd, std::span<const std::string_view> pieces) {
  std::vector<iovec> batch;
  std::size_t next = 0;
  std::size_t skip = 0;  // bytes of pieces[next] already written
  while (next < pieces.size()) {
    batch.clear();
    for (std::size_t i = next; i < pieces.size() && batch.size() < IOV_MAX; ++i) {
      const std::string_view piece = i == next ? pieces[i].substr(skip) : pieces[i];
      if (!piece.empty()) batch.push_back({const_cast<char*>(piece.data()), piece.size()});
    }
    if (batch.empty()) break;
    const ssize_t n = ::writev(fd, batch.data(), static_cast<int>(batch.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    auto left = static_cast<std::size_t>(n);
    while (next < pieces.size() && left >= pieces[next].size() - skip) {
      left -= pieces[next].size() - skip;
      skip = 0;
      ++next;
    }
    skip += left;
  }
  return 0;
}

// What StagedRewrite::WriteAhead wrote: where, how much, and its checksum.
struct WrittenAhead {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  std::uint32_t checksum = 0;
};

class FdSink : public RewriteSink {
 public:
  FdSink(int fd, const std::string& path, bool checksummed, WrittenAhead ahead)
      : fd_(fd), path_(path), summing_(checksummed), ahead_(ahead) {}

  Status Write(std::span<const std::string_view> pieces) override {
    if (int err = WritePieces(fd_, pieces); err != 0) return Status::FromErrno(err, path_);
    for (std::string_view piece : pieces) {
      position_ += piece.size();
      // The checksum a group commit names, taken as the bytes pass.
      if (summing_) checksum_ = Crc32c(checksum_, piece);
    }
    return Status::Ok();
  }

  Status Skip(std::uint64_t length) override {
    // Only what was written ahead, where it was written, is passed over.
    if (position_ != ahead_.offset || length != ahead_.length) {
      return Status::FromErrno(EINVAL, path_);
    }
    if (::lseek(fd_, static_cast<off_t>(length), SEEK_CUR) < 0) {
      return Status::FromErrno(errno, path_);
    }
    position_ += length;
    skipped_ = true;
    if (summing_) checksum_ = Crc32cCombine(checksum_, ahead_.checksum, length);
    return Status::Ok();
  }

  // Whether what was written ahead was passed over, not written over.
  bool kept_ahead() const { return ahead_.length == 0 || skipped_; }

  Status Copy(const FileReader& source, std::uint64_t offset, std::uint64_t length) override {
    // Nothing copied (no partial record to keep) needs no reading back.
    if (length == 0) return Status::Ok();
    summing_ = false;  // summed by the group commit that needs it, not here
    position_ += length;
    auto from = static_cast<loff_t>(offset);
    while (length > 0) {
      const ssize_t n = ::copy_file_range(source.fd(), &from, fd_, nullptr, length, 0);
      if (n > 0) {
        length -= static_cast<std::uint64_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) return Status::FromErrno(EIO, source.path() + " ended early");
      // Across file systems, or where the system has no such call: copy
      // through memory instead.
      if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
        return CopyThroughMemory(source, static_cast<std::uint64_t>(from), length);
      }
      // Either side may have failed; the read side names the source.
      return Status::FromErrno(errno, path_);
    }
    return Status::Ok();
  }

  // The checksum of what was written; none when the system copied some of
  // it without passing it through memory, or none was wanted.
  std::optional<std::uint32_t> checksum() const {
    return summing_ ? std::optional<std::uint32_t>(checksum_) : std::nullopt;
  }

 private:
  Status CopyThroughMemory(const FileReader& source, std::uint64_t offset, std::uint64_t length) {
    constexpr std::size_t kChunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[std::min<std::uint64_t>(kChunk, length)]);
    while (length > 0) {
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, kChunk));
      if (Status s = source.ReadAt(offset, {buffer.get(), n}); !s.ok()) return s;
      if (Status s = RewriteSink::Write(std::string_view(buffer.get(), n)); !s.ok()) return s;
      offset += n;
      length -= n;
    }
    return Status::Ok();
  }

  int fd_;
  const std::string& path_;
  std::uint32_t checksum_ = 0;
  bool summing_;  // the checksum covers every byte written
  WrittenAhead ahead_;
  std::uint64_t position_ = 0;  // where the content has got to
  bool skipped_ = false;
};

// Whether `fd` is still the file `path` names.
bool StillNamed(int fd, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         named.st_ino == opened.st_ino && named.st_dev == opened.st_dev;
}

// Removes the regular file `path` unless a running rewrite holds it locked;
// whether it went.
bool RemoveIfUnheld(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened {};
  // Only a file nobody holds, and that is still the one opened, is a
  // leftover.
  const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path) &&
                       ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

// Calls `visit` with each name in `folder`.
template <typename Visit>
void ForEachName(const std::string& folder, Visit visit) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                          ::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) visit(std::string_view(entry->d_name));
}

// Creates `folder` + `stem` + a unique suffix with O_EXCL and locks it; the
// descriptor, with `name` set, or -1 and errno.
int CreateUnique(const std::string& folder, const std::string& stem, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + stem + UniqueSuffix();
    // 0666 less the umask, for a file that had no old mode to keep.
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    // Between the create and the lock another copy may have taken the file
    // for a leftover and removed it: then try another name.
    if (::flock(fd, LOCK_EX) == 0 && StillNamed(fd, name)) return fd;
    const int err = errno;
    ::close(fd);
    if (err != 0 && err != ENOENT) {
      errno = err;
      return -1;
    }
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

StagedRewrite::~StagedRewrite() {
  Abandon();
  DropKeptContent();
}

void StagedRewrite::Abandon() {
  if (staged_) ::unlink(temp_.c_str());
  staged_ = false;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (lock_fd_ >= 0) ::close(lock_fd_);
  lock_fd_ = -1;
}

Status StagedRewrite::Stage(const std::string& path, std::string_view content,
                            const RewriteFaultHook& fault) {
  return Stage(path, std::span<const std::string_view>(&content, 1), fault);
}

Status StagedRewrite::Stage(const std::string& path, std::span<const std::string_view> pieces,
                            const RewriteFaultHook& fault) {
  return Stage(
      path, [pieces](RewriteSink& sink) { return sink.Write(pieces); }, fault);
}

Status StagedRewrite::Begin(const std::string& path, const RewriteFaultHook& fault) {
  Abandon();
  target_ = ResolveLinks(path);
  fault_ = fault;
  folder_ = FolderOf(path);
  ahead_offset_ = 0;
  ahead_length_ = 0;
  ahead_checksum_ = 0;
  const std::string folder = FolderOf(target_);
  const std::string stem = BaseName(target_) + std::string(kTempMark);

  if (Faulted(fault, RewriteStep::kCreate)) return Status::FromErrno(EIO, folder + stem + "...");
  // What a killed copy left of this same file (an export folder has no
  // lock whose holder would clear it).
  ForEachName(folder, [&](std::string_view name) {
    if (name.starts_with(stem) && HasUniqueSuffix(name, kTempMark)) {
      RemoveIfUnheld(folder + std::string(name));
    }
  });
  errno = 0;
  fd_ = CreateUnique(folder, stem, temp_);
  if (fd_ < 0) return Status::FromErrno(errno, folder + stem + "...");
  staged_ = true;  // from here on the temporary file is ours to remove
  auto give_up = [&](int err) {
    Abandon();
    return Status::FromErrno(err, temp_);
  };
  // A second descriptor keeps the lock after the first is closed by Stage.
  lock_fd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (lock_fd_ < 0) return give_up(errno);

  struct stat old {};
  existed_ = ::stat(target_.c_str(), &old) == 0;
  if (existed_) {
    // The owner first: a change of owner clears the set-id bits.
    if (::geteuid() == 0 && ::fchown(fd_, old.st_uid, old.st_gid) != 0) return give_up(errno);
    if (::fchmod(fd_, old.st_mode & 07777) != 0) return give_up(errno);
  }
  return Status::Ok();
}

Status StagedRewrite::WriteAhead(std::uint64_t offset, std::string_view bytes) {
  auto give_up = [&](int err) {
    Abandon();
    return Status::FromErrno(err, temp_);
  };
  if (!begun() || (ahead_length_ > 0 && offset != ahead_offset_ + ahead_length_)) {
    return give_up(EINVAL);
  }
  if (Faulted(fault_, RewriteStep::kWrite)) return give_up(EIO);
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return give_up(n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  // Only a start: Stage's flush waits for the writing and reports its
  // failure.
  ::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(bytes.size()),
                    SYNC_FILE_RANGE_WRITE);
  if (ahead_length_ == 0) ahead_offset_ = offset;
  ahead_length_ += bytes.size();
  if (checksummed_) ahead_checksum_ = Crc32c(ahead_checksum_, bytes);
  return Status::Ok();
}

Status StagedRewrite::Stage(const std::string& path, const ContentWriter& write,
                            const RewriteFaultHook& fault) {
  if (!begun()) {
    if (Status s = Begin(path, fault); !s.ok()) return s;
  } else if (ResolveLinks(path) != target_) {
    Abandon();
    return Status::FromErrno(EINVAL, path);
  }
  auto give_up = [&](int err) {
    Abandon();
    return Status::FromErrno(err, temp_);
  };
  if (Faulted(fault_, RewriteStep::kWrite)) return give_up(EIO);
  FdSink sink(fd_, temp_, checksummed_, {ahead_offset_, ahead_length_, ahead_checksum_});
  if (Status s = write(sink); !s.ok()) {
    Abandon();
    return s;
  }
  if (!sink.kept_ahead()) return give_up(EINVAL);
  checksum_ = sink.checksum();
  if (Faulted(fault_, RewriteStep::kFlush)) return give_up(EIO);
  if (::fsync(fd_) != 0) return give_up(errno);
  if (Faulted(fault_, RewriteStep::kClose)) return give_up(EIO);
  // A delayed write error (a network folder) can show only here.
  if (::close(std::exchange(fd_, -1)) != 0) return give_up(errno);
  return Status::Ok();
}

Status StagedRewrite::Commit() {
  if (Status s = Rename(); !s.ok()) return s;
  SyncFolder(FolderOf(target_));
  return Status::Ok();
}

Status StagedRewrite::Rename() {
  // Begun but not staged, the content is not whole.
  if (!staged_ || begun()) {
    Abandon();
    return Status::FromErrno(EINVAL, target_);
  }
  int err = 0;
  if (Faulted(fault_, RewriteStep::kRename)) {
    err = EIO;
  } else if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    err = errno;
  }
  if (err != 0) {
    Abandon();
    return Status::FromErrno(err, target_);
  }
  staged_ = false;
  Abandon();  // releases the lock
  return Status::Ok();
}

int StagedRewrite::DuplicateLock() const {
  return lock_fd_ < 0 ? -1 : ::fcntl(lock_fd_, F_DUPFD_CLOEXEC, 0);
}

Status StagedRewrite::KeepOldContent() {
  if (!existed_) return Status::Ok();
  const std::string stem = BaseName(target_) + std::string(kKeptMark);
  if (Faulted(fault_, RewriteStep::kKeep)) return Status::FromErrno(EIO, target_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    kept_ = FolderOf(target_) + stem + UniqueSuffix();
    if (::link(target_.c_str(), kept_.c_str()) == 0) return Status::Ok();
    if (errno == EEXIST) continue;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != EXDEV) break;
    // A file system without hard links: keep a copy instead.
    auto source = FileReader::Open(target_, FileReader::Missing::kFail);
    if (!source.ok()) break;
    StagedRewrite copy;
    Status s = copy.Stage(kept_, [&](RewriteSink& sink) {
      return sink.Copy(source.value(), 0, source.value().size());
    });
    if (s.ok()) s = copy.Commit();
    if (s.ok()) return s;
    kept_.clear();
    return s;
  }
  const int err = errno;
  kept_.clear();
  return Status::FromErrno(err, target_);
}

void StagedRewrite::DropKeptContent() {
  if (!kept_.empty()) ::unlink(kept_.c_str());
  kept_.clear();
}

GroupCommit GroupCommit::Run(std::span<StagedRewrite* const> rewrites) {
  GroupCommit result;
  if (rewrites.empty()) return result;
  const RewriteFaultHook& fault = rewrites.front()->fault_;
  std::vector<CommitEntry> entries;
  for (StagedRewrite* rewrite : rewrites) {
    if (!rewrite->staged_ || rewrite->begun()) {
      result.status = Status::FromErrno(EINVAL, rewrite->target_);
      return result;
    }
    if (Status s = rewrite->KeepOldContent(); !s.ok()) {
      result.status = s;
      return result;  // the rewrites' destructors remove what they made
    }
    // Read back only what the system copied past the program's memory.
    const int fd = ::open(rewrite->temp_.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      result.status = Status::FromErrno(errno, rewrite->temp_);
      if (fd >= 0) ::close(fd);
      return result;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    auto checksum = rewrite->checksum_ ? Result<std::uint32_t>(*rewrite->checksum_)
                                       : ChecksumOfFile(fd, rewrite->temp_, size);
    ::close(fd);
    if (!checksum.ok()) {
      result.status = checksum.status();
      return result;
    }
    entries.push_back({rewrite->target_, rewrite->temp_, rewrite->kept_, size, checksum.value()});
  }
  const std::string& folder = rewrites.front()->folder_;
  if (Faulted(fault, RewriteStep::kRecord)) {
    result.status = Status::FromErrno(EIO, folder + kCommitFileName);
    return result;
  }
  auto record = CommitRecord::Write(folder, entries);
  if (!record.ok()) {
    result.status = record.status();
    return result;
  }
  // Renamed one after the other, and each folder flushed once after the
  // last: the commit file, flushed before, finishes the change should a
  // crash come in between.
  for (std::size_t i = 0; i < rewrites.size(); ++i) {
    Status s = rewrites[i]->Rename();
    if (s.ok()) continue;
    result.status = s;
    // Undo the renames done so far, the latest first.
    for (std::size_t j = i; j-- > 0;) {
      StagedRewrite& done = *rewrites[j];
      int err = Faulted(done.fault_, RewriteStep::kRename) ? EIO : 0;
      if (err == 0) {
        const int rc = done.kept_.empty() ? ::unlink(done.target_.c_str())
                                          : std::rename(done.kept_.c_str(), done.target_.c_str());
        if (rc != 0) err = errno;
      }
      if (err == 0) {
        done.kept_.clear();
        SyncFolder(FolderOf(done.target_));
        continue;
      }
      result.left_new.push_back({done.target_, done.kept_});
      done.kept_.clear();  // the only intact copy: it stays
    }
    // A change left half done keeps its commit file, for the next open to
    // undo it.
    if (result.left_new.empty()) record.value().Remove();
    return result;
  }
  std::vector<std::string> folders;
  for (StagedRewrite* rewrite : rewrites) {
    const std::string folder = FolderOf(rewrite->target_);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
      SyncFolder(folder);
    }
  }
  for (StagedRewrite* rewrite : rewrites) rewrite->DropKeptContent();
  // A failure here leaves a commit file whose change is complete: the next
  // open only removes it.
  if (!Faulted(fault, RewriteStep::kForget)) record.value().Remove();
  return result;
}

Status AtomicRewrite(const std::string& path, std::span<const std::string_view> pieces,
                     const RewriteFaultHook& fault) {
  StagedRewrite rewrite;
  rewrite.CommitAlone();
  if (Status s = rewrite.Stage(path, pieces, fault); !s.ok()) return s;
  return rewrite.Commit();
}

Status AtomicRewrite(const std::string& path, std::string_view content,
                     const RewriteFaultHook& fault) {
  return AtomicRewrite(path, std::span<const std::string_view>(&content, 1), fault);
}

namespace {

bool IsLeftoverName(std::string_view name) {
  return std::find(std::begin(kLegacyTempNames), std::end(kLegacyTempNames), name) !=
             std::end(kLegacyTempNames) ||
         HasUniqueSuffix(name, kTempMark) || HasUniqueSuffix(name, kKeptMark);
}

}  // namespace

int RemoveStaleTemporaryFiles(const std::string& folder) {
  int removed = 0;
  ForEachName(folder, [&](std::string_view name) {
    if (IsLeftoverName(name)) removed += RemoveIfUnheld(folder + std::string(name)) ? 1 : 0;
  });
  return removed;
}

std::vector<std::string> LeftoverFiles(const std::string& folder) {
  std::vector<std::string> found;
  ForEachName(folder, [&](std::string_view name) {
    if (!IsLeftoverName(name)) return;
    const std::string path = folder + std::string(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) found.push_back(path);
    ::close(fd);
  });
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace tabrel
