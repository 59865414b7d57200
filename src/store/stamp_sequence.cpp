#include "store/stamp_sequence.h"

#include <algorithm>

#include "base/text.h"
#include "store/stamp.h"

namespace tabrel {

bool IsReadableStamp(std::string_view stamp) {
  const auto parsed = ParseStamp(stamp);
  if (!parsed) return false;
  bool digit = false;
  int points = 0;
  for (char c : TrimView(stamp.substr(10))) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != '.' || ++points > 1) {
      return false;
    }
  }
  return digit && parsed->seconds_since_midnight < 86400;
}

namespace {

std::size_t HashOf(std::string_view trimmed) {
  // FNV-1a: short keys, no allocation.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : trimmed) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

std::string_view Trimmed(std::string_view stamp) {
  const std::string_view trimmed = TrimView(stamp);
  return trimmed.substr(0, 19);
}

}  // namespace

void StampSequence::Reserve(std::size_t stamps) {
  while (slots_.size() < 2 * (used_ + stamps)) Grow();
}

void StampSequence::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  used_ = 0;
  for (const Slot& slot : old) {
    if (!slot.used || slot.count == 0) continue;
    Slot& moved = Find(std::string_view(slot.bytes.data(), slot.size));
    moved = slot;
    ++used_;
  }
}

StampSequence::Slot& StampSequence::Find(std::string_view trimmed) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = HashOf(trimmed) & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (!slot.used || std::string_view(slot.bytes.data(), slot.size) == trimmed) return slot;
  }
}

const StampSequence::Slot* StampSequence::Lookup(std::string_view stamp) const {
  const std::string_view trimmed = Trimmed(stamp);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = HashOf(trimmed) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.used) return nullptr;
    if (std::string_view(slot.bytes.data(), slot.size) == trimmed) return &slot;
  }
}

void StampSequence::Hold(std::string_view stamp) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::string_view trimmed = Trimmed(stamp);
  Slot& slot = Find(trimmed);
  if (!slot.used) {
    slot.used = true;
    slot.size = static_cast<std::uint8_t>(trimmed.size());
    std::copy(trimmed.begin(), trimmed.end(), slot.bytes.begin());
    ++used_;
  }
  ++slot.count;
}

void StampSequence::Release(std::string_view stamp) {
  Slot& slot = Find(Trimmed(stamp));
  if (slot.used && slot.count > 0) --slot.count;
}

bool StampSequence::IsHeld(std::string_view stamp) const {
  const Slot* found = Lookup(stamp);
  return found != nullptr && found->count > 0;
}

std::string StampSequence::Next() {
  for (;;) {
    std::string stamp = MakeStamp(next_);
    next_ = PreviousStampTime(next_);
    if (IsHeld(stamp)) continue;
    Hold(stamp);
    return stamp;
  }
}

}  // namespace tabrel
