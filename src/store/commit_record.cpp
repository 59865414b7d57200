#include "store/commit_record.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "store/atomic_file.h"

namespace tabrel {
namespace {

constexpr std::string_view kHeader = "tabrel commit 1\n";
constexpr std::string_view kEnd = "end ";

std::array<std::uint32_t, 256> CrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0x82F63B78u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) std::uint32_t CrcWords(std::uint32_t crc, const char* p,
                                                         std::size_t n) {
  std::uint64_t c = crc;
  for (; n >= 8; n -= 8, p += 8) {
    std::uint64_t word;
    __builtin_memcpy(&word, p, 8);
    c = __builtin_ia32_crc32di(c, word);
  }
  auto c32 = static_cast<std::uint32_t>(c);
  for (; n > 0; --n, ++p) c32 = __builtin_ia32_crc32qi(c32, static_cast<unsigned char>(*p));
  return c32;
}

// The instruction takes three cycles and can start every cycle: three
// blocks are summed side by side, and the sums of the later two moved past
// the bytes that follow them.
constexpr std::size_t kCrcBlock = 4096;

// What a sum becomes over kCrcBlock zero bytes, for each of its bits: the
// move is linear in the sum.
struct CrcShift {
  std::uint32_t of_bit[32];
  CrcShift() {
    static const char zeros[kCrcBlock] = {};
    for (int bit = 0; bit < 32; ++bit) of_bit[bit] = CrcWords(1u << bit, zeros, kCrcBlock);
  }
  std::uint32_t operator()(std::uint32_t crc) const {
    std::uint32_t moved = 0;
    for (int bit = 0; bit < 32; ++bit) moved ^= (crc >> bit & 1) ? of_bit[bit] : 0;
    return moved;
  }
};

__attribute__((target("sse4.2"))) std::uint32_t CrcHardware(std::uint32_t crc, const char* p,
                                                            std::size_t n) {
  static const CrcShift shift;
  for (; n >= 3 * kCrcBlock; n -= 3 * kCrcBlock, p += 3 * kCrcBlock) {
    std::uint64_t a = crc, b = 0, c = 0;
    for (std::size_t at = 0; at < kCrcBlock; at += 8) {
      std::uint64_t wa, wb, wc;
      __builtin_memcpy(&wa, p + at, 8);
      __builtin_memcpy(&wb, p + kCrcBlock + at, 8);
      __builtin_memcpy(&wc, p + 2 * kCrcBlock + at, 8);
      a = __builtin_ia32_crc32di(a, wa);
      b = __builtin_ia32_crc32di(b, wb);
      c = __builtin_ia32_crc32di(c, wc);
    }
    crc = static_cast<std::uint32_t>(c) ^
          shift(static_cast<std::uint32_t>(b) ^ shift(static_cast<std::uint32_t>(a)));
  }
  return CrcWords(crc, p, n);
}
#endif

std::string Hex(std::uint32_t value) {
  char out[9];
  std::snprintf(out, sizeof out, "%08x", value);
  return out;
}

// Names go one to a field: a tab, a line end or "%" in a name is escaped.
std::string Escape(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '%' || c == '\t' || c == '\n') {
      out += '%';
      out += Hex(static_cast<unsigned char>(c)).substr(6);
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    unsigned value = 0;
    if (field[i] == '%' && i + 2 < field.size() &&
        std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16).ec == std::errc()) {
      out += static_cast<char>(value);
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Encode(const std::string& folder, std::span<const CommitEntry> entries) {
  std::string text(kHeader);
  for (const CommitEntry& e : entries) {
    const std::string target = FolderOf(e.target) == folder ? BaseName(e.target) : e.target;
    text += Escape(target) + '\t' + Escape(BaseName(e.temp)) + '\t' + std::to_string(e.size) +
            '\t' + Hex(e.checksum) + '\t' + (e.kept.empty() ? "-" : Escape(BaseName(e.kept))) +
            '\n';
  }
  return text + std::string(kEnd) + Hex(Crc32c(0, text)) + '\n';
}

std::vector<std::string_view> Split(std::string_view text, char by) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0;;) {
    const std::size_t next = text.find(by, at);
    parts.push_back(text.substr(at, next - at));
    if (next == std::string_view::npos) return parts;
    at = next + 1;
  }
}

template <typename T>
bool Number(std::string_view field, T& value, int base) {
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value, base);
  return ec == std::errc() && end == field.data() + field.size();
}

// The entries of a whole commit file; false for a torn one (its writer died
// before it was flushed, so no rename had begun).
bool Decode(const std::string& folder, std::string_view text, std::vector<CommitEntry>& entries) {
  const std::size_t end = text.rfind(kEnd);
  if (!text.starts_with(kHeader) || end == std::string_view::npos || !text.ends_with('\n')) {
    return false;
  }
  std::uint32_t sum = 0;
  if (!Number(text.substr(end + kEnd.size(), 8), sum, 16) ||
      Crc32c(0, text.substr(0, end)) != sum) {
    return false;
  }
  const std::string_view body = text.substr(kHeader.size(), end - kHeader.size());
  for (std::string_view line : Split(body, '\n')) {
    if (line.empty()) continue;
    const auto fields = Split(line, '\t');
    if (fields.size() != 5) return false;
    CommitEntry e;
    e.target = Unescape(fields[0]);
    if (!e.target.starts_with('/')) e.target = folder + e.target;
    e.temp = FolderOf(e.target) + Unescape(fields[1]);
    if (fields[4] != "-") e.kept = FolderOf(e.target) + Unescape(fields[4]);
    if (!Number(fields[2], e.size, 10) || !Number(fields[3], e.checksum, 16)) return false;
    entries.push_back(std::move(e));
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// Whether `path` holds exactly the new content `e` names.
bool Holds(const std::string& path, const CommitEntry& e) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
               static_cast<std::uint64_t>(st.st_size) == e.size;
  if (whole) {
    auto sum = ChecksumOfFile(fd, path, e.size);
    whole = sum.ok() && sum.value() == e.checksum;
  }
  ::close(fd);
  return whole;
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

Status Renamed(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return Status::FromErrno(errno, to);
  SyncFolderOf(to);
  return Status::Ok();
}

Result<std::string> ReadSmallFile(int fd, const std::string& path) {
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Status::FromErrno(errno, path);
    if (n == 0) return text;
    text.append(chunk, static_cast<std::size_t>(n));
    if (text.size() > (1u << 20)) return Status::FromErrno(EFBIG, path);
  }
}

std::string NeedsRepair(const std::string& folder, const std::string& why) {
  return "The data set in " + folder + " needs repair: " + why +
         " Open it in Tabrel, or run \"tabrel-cli check --repair\".";
}

}  // namespace

std::uint32_t Crc32c(std::uint32_t crc, std::string_view bytes) {
  crc = ~crc;
#if defined(__x86_64__)
  if (__builtin_cpu_supports("sse4.2")) return ~CrcHardware(crc, bytes.data(), bytes.size());
#endif
  static const std::array<std::uint32_t, 256> table = CrcTable();
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

namespace {

constexpr std::uint32_t kCrcPolynomial = 0x82F63B78u;  // reflected

// a * b modulo the polynomial, both reflected (x^0 in the top bit).
std::uint32_t MultiplyModP(std::uint32_t a, std::uint32_t b) {
  std::uint32_t product = 0;
  for (std::uint32_t bit = 1u << 31; bit != 0; bit >>= 1) {
    if (a & bit) product ^= b;
    b = (b & 1) ? (b >> 1) ^ kCrcPolynomial : b >> 1;
  }
  return product;
}

}  // namespace

std::uint32_t Crc32cCombine(std::uint32_t first, std::uint32_t second,
                            std::uint64_t second_length) {
  // Moving a sum past n zero bytes multiplies it by x^(8n): the powers
  // x^(2^k) are squared up one from the next.
  std::uint32_t power = 1u << 31;   // x^0
  std::uint32_t square = 1u << 23;  // x^8, one byte
  for (std::uint64_t n = second_length; n != 0; n >>= 1) {
    if (n & 1) power = MultiplyModP(square, power);
    square = MultiplyModP(square, square);
  }
  return MultiplyModP(power, first) ^ second;
}

Result<std::uint32_t> ChecksumOfFile(int fd, const std::string& path, std::uint64_t size) {
  constexpr std::size_t kChunk = 1 << 20;
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  std::uint32_t crc = 0;
  for (std::uint64_t at = 0; at < size;) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size - at));
    const ssize_t n = ::pread(fd, buffer.get(), want, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Status::FromErrno(errno, path);
    if (n == 0) return Status::FromErrno(EIO, path + " ended early");
    crc = Crc32c(crc, {buffer.get(), static_cast<std::size_t>(n)});
    at += static_cast<std::uint64_t>(n);
  }
  return crc;
}

Result<CommitRecord> CommitRecord::Write(const std::string& folder,
                                         std::span<const CommitEntry> entries) {
  CommitRecord record;
  const std::string text = Encode(folder, entries);
  const std::string path = folder + kCommitFileName;
  StagedRewrite stage;
  if (Status s = stage.Stage(path, text); !s.ok()) return s;
  // Locked before it gets its name, so no reader ever finds it unheld while
  // the change runs.
  record.fd_ = stage.DuplicateLock();
  if (record.fd_ < 0) return Status::FromErrno(errno, path);
  if (Status s = stage.Commit(); !s.ok()) return s;
  record.path_ = path;
  return record;
}

CommitRecord::CommitRecord(CommitRecord&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

CommitRecord& CommitRecord::operator=(CommitRecord&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

CommitRecord::~CommitRecord() {
  if (fd_ >= 0) ::close(fd_);
}

void CommitRecord::Remove() {
  // Not flushed: a commit file that comes back after a crash names files
  // that already hold their new content, and the next open only removes it.
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string RecoveryOutcome::Text() const {
  switch (done) {
    case Recovery::kCompleted:
      return "An interrupted change was completed.";
    case Recovery::kUndone:
      return "An interrupted change was undone.";
    case Recovery::kNone:
      break;
  }
  return "";
}

RecoveryOutcome RecoverInterruptedCommit(const std::string& folder) {
  RecoveryOutcome outcome;
  const std::string path = folder + kCommitFileName;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) outcome.status = Status::FromErrno(errno, path);
    return outcome;
  }
  auto text = ReadSmallFile(fd, path);
  ::close(fd);
  if (!text.ok()) {
    outcome.status = text.status();
    return outcome;
  }
  std::vector<CommitEntry> entries;
  const bool whole = Decode(folder, text.value(), entries);
  bool complete = whole && !entries.empty();
  for (const CommitEntry& e : entries) {
    complete = complete && (Exists(e.temp) ? Holds(e.temp, e) : Holds(e.target, e));
  }
  for (const CommitEntry& e : entries) {
    Status s = Status::Ok();
    if (complete) {
      if (Exists(e.temp)) s = Renamed(e.temp, e.target);
    } else if (Exists(e.temp)) {
      ::unlink(e.temp.c_str());  // never renamed: the target is still the old file
    } else if (!e.kept.empty() && Exists(e.kept)) {
      s = Renamed(e.kept, e.target);
    } else if (!e.kept.empty()) {
      // Put back already by the copy that failed, or lost.
      if (Holds(e.target, e)) s = Status::FromErrno(ENOENT, e.kept + " (the old " + e.target + ")");
    } else if (::unlink(e.target.c_str()) != 0 && errno != ENOENT) {
      s = Status::FromErrno(errno, e.target);  // a file the change made: it goes again
    }
    if (!s.ok() && outcome.status.ok()) outcome.status = s;
  }
  if (!outcome.status.ok()) {
    outcome.status = Status::Error(
        outcome.status.number(), NeedsRepair(folder,
                                             "an interrupted change could be neither completed nor "
                                             "undone (" +
                                                 outcome.status.ErrorLine() + ")."));
    return outcome;
  }
  for (const CommitEntry& e : entries) {
    if (!e.kept.empty()) ::unlink(e.kept.c_str());
  }
  if (::unlink(path.c_str()) != 0) {
    outcome.status = Status::FromErrno(errno, path);
    return outcome;
  }
  SyncFolderOf(path);
  outcome.done = complete ? Recovery::kCompleted : Recovery::kUndone;
  return outcome;
}

Status CheckNoUnfinishedCommit(const std::string& folder) {
  const std::string path = folder + kCommitFileName;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Status::Ok();
  // A running change holds its commit file for the few renames it takes.
  bool held = true;
  for (int tries = 0; tries < 500 && held; ++tries) {
    held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (held) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  struct stat opened {};
  struct stat named {};
  const bool left = ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                    opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
  ::close(fd);
  if (!left && !held) return Status::Ok();
  return Status::Error(error_number::kPathFileAccess,
                       NeedsRepair(folder, held ? "a change to it is taking too long to finish."
                                                : "a change to it was cut short."));
}

}  // namespace tabrel
