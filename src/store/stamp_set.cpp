#include "store/stamp_set.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/text.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {

namespace l = layout;

Result<StampSet> StampSet::Read(const AppState& state) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  StampSet set;
  set.Reserve(file.value().size() / l::kContactRecordLength);
  const Status read =
      file.value().ScanRecords(l::kContactRecordLength, [&set](std::string_view run, std::size_t) {
        for (std::size_t at = 0; at < run.size(); at += l::kContactRecordLength) {
          set.Add(run.substr(at + l::kModified.offset, l::kModified.width));
        }
        return true;
      });
  if (!read.ok()) return read;
  return set;
}

namespace {

// A stamp (at most kWidth bytes) as three words, each mixed in by a
// multiplication: a byte at a time would chain nineteen of them, and an
// import of 32,767 cards looks up as many stamps.
std::size_t HashOf(std::string_view stamp) {
  std::uint64_t words[3] = {0, 0, 0};
  std::memcpy(words, stamp.data(), std::min(stamp.size(), sizeof words));
  std::uint64_t h = (words[0] * 0x9E3779B97F4A7C15ull) ^ (words[1] * 0xC2B2AE3D27D4EB4Full) ^
                    (words[2] * 0x165667B19E3779F9ull) ^ stamp.size();
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace

const StampSet::Slot* StampSet::Find(std::string_view stamp) const {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = HashOf(stamp) & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.count < 0) return nullptr;
    if (std::string_view(slot.text.data(), slot.size) == stamp) return &slot;
  }
}

StampSet::Slot* StampSet::Find(std::string_view stamp) {
  return const_cast<Slot*>(std::as_const(*this).Find(stamp));
}

void StampSet::Reserve(std::size_t stamps) {
  if (2 * stamps > slots_.size()) Grow(stamps);
}

// Rebuilds the table for `stamps` stamps, dropping the slots left.
void StampSet::Grow(std::size_t stamps) {
  std::size_t size = 16;
  while (size < 2 * stamps) size *= 2;
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(size));
  used_ = 0;
  distinct_ = 0;
  for (const Slot& slot : old) {
    if (slot.count <= 0) continue;
    for (std::size_t at = HashOf({slot.text.data(), slot.size}) & (size - 1);;
         at = (at + 1) & (size - 1)) {
      if (slots_[at].count < 0) {
        slots_[at] = slot;
        break;
      }
    }
    ++used_;
    ++distinct_;
  }
}

bool StampSet::Contains(std::string_view stamp) const {
  stamp = TrimView(stamp);
  if (stamp.size() > kWidth) return long_stamps_.contains(stamp);
  const Slot* slot = Find(stamp);
  return slot != nullptr && slot->count > 0;
}

void StampSet::Add(std::string_view stamp) {
  stamp = TrimView(stamp);
  if (stamp.size() > kWidth) {
    ++long_stamps_.try_emplace(std::string(stamp), 0).first->second;
    return;
  }
  if (Slot* slot = Find(stamp)) {
    if (slot->count++ == 0) ++distinct_;
    return;
  }
  Insert(stamp);
}

bool StampSet::TakeIfFree(std::string_view stamp) {
  stamp = TrimView(stamp);
  if (stamp.size() > kWidth) {
    if (long_stamps_.contains(stamp)) return false;
    Add(stamp);
    return true;
  }
  // One lookup where Contains and Add would make two: an import of 32,767
  // cards takes as many stamps.
  if (Slot* slot = Find(stamp)) {
    if (slot->count > 0) return false;
    slot->count = 1;
    ++distinct_;
    return true;
  }
  Insert(stamp);
  return true;
}

void StampSet::Insert(std::string_view stamp) {
  if (2 * (used_ + 1) > slots_.size()) Grow(std::max(2 * distinct_, used_ + 1));
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = HashOf(stamp) & mask;; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (slot.count >= 0) continue;
    std::copy(stamp.begin(), stamp.end(), slot.text.begin());
    slot.size = static_cast<std::uint8_t>(stamp.size());
    slot.count = 1;
    ++used_;
    ++distinct_;
    return;
  }
}

void StampSet::Remove(std::string_view stamp) {
  stamp = TrimView(stamp);
  if (stamp.size() > kWidth) {
    auto found = long_stamps_.find(stamp);
    if (found != long_stamps_.end() && --found->second == 0) long_stamps_.erase(found);
    return;
  }
  Slot* slot = Find(stamp);
  if (slot != nullptr && slot->count > 0 && --slot->count == 0) --distinct_;
}

std::string StampSet::TakeAtOrAfter(const LocalDateTime& when) {
  LocalDateTime moment = when;
  std::string stamp = MakeStamp(moment);
  while (!TakeIfFree(stamp)) {
    moment = NextStampTime(moment);
    stamp = MakeStamp(moment);
  }
  return stamp;
}

std::string StampSet::TakeAtOrBefore(const LocalDateTime& when) {
  LocalDateTime cursor = when;
  return TakeBackFrom(cursor);
}

std::string StampSet::TakeBackFrom(LocalDateTime& cursor) {
  for (;;) {
    LocalDateTime previous;
    std::string stamp = MakeStampAndPrevious(cursor, previous);
    cursor = previous;
    if (TakeIfFree(stamp)) return stamp;
  }
}

}  // namespace tabrel
