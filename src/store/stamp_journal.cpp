#include "store/stamp_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/text.h"
#include "store/contact_record.h"
#include "store/file_reader.h"

namespace tabrel {
namespace {

constexpr std::string_view kArrow = " -> ";
constexpr std::string_view kDeleted = "deleted";

}  // namespace

Status StampJournal::Note(const AppState& state, std::string_view old_stamp,
                          std::string_view new_stamp) {
  const Change change{old_stamp, new_stamp};
  return Note(state, std::span<const Change>(&change, 1));
}

Status StampJournal::Note(const AppState& state, std::span<const Change> changes) {
  std::string line;
  for (const Change& change : changes) {
    const std::string_view from = TrimView(change.from);
    const std::string_view to = TrimView(change.to);
    if (from.empty() || from == TrimView(kUnsavedStamp) || from == to) continue;
    line += from;
    line += kArrow;
    line += to.empty() ? kDeleted : to;
    line += '\n';
  }
  if (line.empty()) return Status::Ok();
  // Only a data set set up to sync needs it (a card may reach the server
  // before the first sync's local commit); the others stay as every
  // installation writes them.
  if (::access(state.DataFile(kSyncedMarkName).c_str(), F_OK) != 0 &&
      ::access(state.DataFile(kSyncSetupName).c_str(), F_OK) != 0) {
    return Status::Ok();
  }
  const std::string path = state.DataFile(kStampJournalName);
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Status::FromErrno(errno, path);
  // A crash leaves the lines whole or the last one cut, and a cut last line
  // is no entry.
  const ssize_t written = ::write(fd, line.data(), line.size());
  const int write_errno = errno;
  const bool flushed = written == static_cast<ssize_t>(line.size()) && ::fdatasync(fd) == 0;
  const int flush_errno = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(line.size())) {
    return Status::FromErrno(written < 0 ? write_errno : ENOSPC, path);
  }
  if (!flushed) return Status::FromErrno(flush_errno, path);
  return Status::Ok();
}

Result<StampJournal> StampJournal::Read(const AppState& state) {
  const std::string path = state.DataFile(kStampJournalName);
  if (::access(path.c_str(), F_OK) != 0) return StampJournal{};
  auto opened = FileReader::Open(path);
  if (!opened.ok()) return opened.status();
  auto all = opened.value().ReadRecords(1);
  if (!all.ok()) return all.status();
  return Parse(all.value());
}

StampJournal StampJournal::Parse(std::string_view text) {
  StampJournal journal;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;  // cut by a crash
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    const std::size_t arrow = line.find(kArrow);
    if (arrow == std::string_view::npos) continue;
    const std::string_view to = line.substr(arrow + kArrow.size());
    if (to == kDeleted) continue;  // a stamp gone unjournaled reads the same
    journal.next_[std::string(line.substr(0, arrow))].emplace_back(to);
  }
  return journal;
}

}  // namespace tabrel
